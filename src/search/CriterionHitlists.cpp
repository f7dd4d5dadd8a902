#include "search/CriterionHitlists.h"

#include <cmath>
#include <utility>

#include "base/Parallel.h"
#include "search/Hitlist.h"
#include "search/Similarity.h"

namespace kiv {

namespace {

constexpr double kEpsilon = 1e-12;

bool Usable(const double* vector, int length)
{
    int values = 0;
    for (int j = 0; j < length - 1; ++j) values += std::fabs(vector[j]) > kEpsilon;
    return values >= 2;
}

}  // namespace

CCriterionHitlists::CCriterionHitlists(CMatrix tests, int width, SimilarityCriterion criterion,
                                       std::vector<int32_t> columns, double emptySimilarity)
    : tests_(std::move(tests)), criterion_(criterion), columns_(std::move(columns))
{
    const int rows = tests_.Rows();
    similarities.Alloc(rows, width);
    similarities.Fill(emptySimilarity);
    references.Alloc(rows, width);
    usable_.resize(static_cast<size_t>(rows));
    for (int l = 1; l <= rows; ++l) usable_[static_cast<size_t>(l - 1)] = Usable(tests_.Row(l).data(), tests_.Cols());
}

void CCriterionHitlists::Compare(const double* library, int rows, int32_t firstReference)
{
    const int width = similarities.Cols();
    const size_t length = static_cast<size_t>(tests_.Cols());
    ParallelFor(tests_.Rows(), [&](int begin, int end) {
        for (int l = begin + 1; l <= end; ++l) {
            double* s = similarities.Row(l).data();
            int32_t* k = references.Row(l).data();
            const double* x = tests_.Row(l).data();
            const bool usable = usable_[static_cast<size_t>(l - 1)];
            for (int q = 0; q < rows; ++q) {
                if (usable) {
                    InsertHit(s, k, width, Similarity(criterion_, x, library + q * length, columns_), firstReference + q);
                } else {
                    InsertHit(s, k, width, 0.0, 0);
                }
            }
        }
    });
}

}  // namespace kiv
