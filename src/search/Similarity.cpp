#include "search/Similarity.h"

#include <algorithm>
#include <cmath>

namespace kiv {

namespace {

constexpr double kEpsilon = 1e-12;
constexpr double kTiny = 1e-300;

// Peak-count constants of the SISCOM-style scores.
constexpr int kMinReferencePeaks = 4;
constexpr int kMinCommonPeaks = 4;
constexpr double kPeakCountOffset = 15;
constexpr double kScoreOffsetHigh = 130;
constexpr double kScoreOffsetLow = 70;

enum class CosineMasses { All, Unknown, Reference, Either };

double Cosine(const double* x, const double* r, const std::vector<int32_t>& columns, CosineMasses masses)
{
    double sxr = 0, sxx = 0, srr = 0;
    for (int32_t j : columns) {
        double xj = x[j - 1], rj = r[j - 1];
        bool use = masses == CosineMasses::All || (masses == CosineMasses::Unknown && xj > kEpsilon) ||
                   (masses == CosineMasses::Reference && rj > kEpsilon) ||
                   (masses == CosineMasses::Either && (xj > kEpsilon || rj > kEpsilon));
        if (!use) continue;
        sxr += xj * rj;
        sxx += xj * xj;
        srr += rj * rj;
    }
    return srr * sxx >= kTiny ? sxr / std::sqrt(srr * sxx) : 0.0;
}

// Sums and peak counts that the peak-count scores share.
struct PeakCounts {
    double sxr = 0, sxx = 0, srr = 0;
    int referencePeaks = 0;  // r > t
    int common = 0;  // r > t and x > t
    int missing = 0;  // r > t and x <= t
    double missingIntensity = 0;  // sum of r over the missing peaks
    double referenceTotal = 0;  // sum of r over all columns
    int unknownPeaks = 0;  // x > t
    int unknownOnly = 0;  // x > t and r <= t
    double unknownOnlyIntensity = 0;
    double unknownTotal = 0;
};

PeakCounts CountPeaks(const double* x, const double* r, const std::vector<int32_t>& columns)
{
    PeakCounts p;
    for (int32_t j : columns) {
        double xj = x[j - 1], rj = r[j - 1];
        p.sxr += xj * rj;
        p.sxx += xj * xj;
        p.srr += rj * rj;
        p.referenceTotal += rj;
        p.unknownTotal += xj;
        if (rj > kTiny) {
            ++p.referencePeaks;
            if (xj > kTiny) {
                ++p.common;
            } else {
                ++p.missing;
                p.missingIntensity += rj;
            }
        }
        if (xj > kTiny) {
            ++p.unknownPeaks;
            if (rj <= kTiny) {
                ++p.unknownOnly;
                p.unknownOnlyIntensity += xj;
            }
        }
    }
    return p;
}

double BestCandidates(const PeakCounts& p)
{
    if (p.referencePeaks < kMinReferencePeaks || p.common < kMinCommonPeaks) return 0.0;
    double value = 512.0 * p.common / (p.referencePeaks + kPeakCountOffset) + kScoreOffsetHigh + kScoreOffsetLow;
    if (p.missing > 0) {
        double missingPercent = p.referenceTotal > 0 ? 100.0 * p.missingIntensity / p.referenceTotal : 0.0;
        value -= p.referencePeaks * missingPercent / p.missing;
    }
    return value;
}

// (P^2 - 16 P) * 0.00625 - 2 with P the squared correlation in percent: -2 at P = 0, 50.5 at 100.
double CorrelationScore(const PeakCounts& p)
{
    double denominator = p.sxx * p.srr;
    double correlation = denominator >= kTiny ? 100.0 * (p.sxr * p.sxr / denominator) : 0.0;
    return (correlation * correlation - 16.0 * correlation) * 0.00625 - 2.0;
}

double MethodEasy(const PeakCounts& p)
{
    return CorrelationScore(p) + 512.0 * p.common / (p.missing + p.common + kPeakCountOffset);
}

// The detailed score. Besides correlation and peak counts it charges the intensity that one
// spectrum has where the other has none: every percent of the reference's total intensity on
// missing peaks and every percent of the unknown's total on unknown-only peaks costs half a
// point, so a reference that explains the unknown's whole spectrum, and nothing else, loses
// nothing.
double MethodDetailed(const PeakCounts& p)
{
    const int d = p.unknownPeaks;
    if (d == 0) return 0.0;
    double value = CorrelationScore(p);
    double peakTerm = std::max(8.0 * d - 2.0 * p.missing - p.unknownOnly - 1.0, 0.0);
    value += 150.0 * p.common * peakTerm / (8.0 * d * d);
    double missingPercent = p.referenceTotal > 0 ? 100.0 * p.missingIntensity / p.referenceTotal : 0.0;
    double unknownOnlyPercent = p.unknownTotal > 0 ? 100.0 * p.unknownOnlyIntensity / p.unknownTotal : 0.0;
    return value - 0.5 * (missingPercent + unknownOnlyPercent);
}

}  // namespace

void TransformIntensities(CMatrix& matrix, double intensityExponent, double massExponent)
{
    const double a = massExponent, b = intensityExponent;
    const int cols = matrix.Cols();
    if (a > kEpsilon || a < -kEpsilon) {
        const double scale = 100.0 / (std::pow(cols, a) * std::pow(100.0, b));
        for (int i = 1; i <= matrix.Rows(); ++i) {
            auto row = matrix.Row(i);
            for (int j = 1; j <= cols; ++j) row[j] = std::pow(j, a) * std::pow(row[j], b) * scale;
        }
    } else if (std::fabs(b - 1.0) > kEpsilon) {
        const double scale = 100.0 / std::pow(100.0, b);
        for (double& x : matrix.Flat()) x = std::pow(x, b) * scale;
    }
}

std::vector<int32_t> SelectColumns(const std::vector<int32_t>& listed, int32_t k)
{
    std::vector<int32_t> columns;
    if (listed.empty()) {
        for (int32_t j = 1; j <= k; ++j) columns.push_back(j);
        return columns;
    }
    columns = listed;
    while (!columns.empty() && columns.back() > k) columns.pop_back();
    // An entry beyond K inside the list (not at its end) would read outside the rows.
    std::erase_if(columns, [k](int32_t j) { return j < 1 || j > k; });
    return columns;
}

double Similarity(SimilarityCriterion criterion, const double* x, const double* r, const std::vector<int32_t>& columns)
{
    switch (criterion) {
    case SimilarityCriterion::Cosine: break;
    case SimilarityCriterion::CosineUnknownMasses: return Cosine(x, r, columns, CosineMasses::Unknown);
    case SimilarityCriterion::CosineReferenceMasses: return Cosine(x, r, columns, CosineMasses::Reference);
    case SimilarityCriterion::CosineEitherMasses: return Cosine(x, r, columns, CosineMasses::Either);
    case SimilarityCriterion::BestCandidates: return BestCandidates(CountPeaks(x, r, columns));
    case SimilarityCriterion::SiscomEasy: return MethodEasy(CountPeaks(x, r, columns));
    case SimilarityCriterion::SiscomDetailed: return MethodDetailed(CountPeaks(x, r, columns));
    }
    return Cosine(x, r, columns, CosineMasses::All);
}

double Similarity(SimilarityCriterion criterion, const CMatrix& unknowns, int unknownRow, const CMatrix& references, int referenceRow,
                  const std::vector<int32_t>& columns)
{
    if (unknownRow < 1 || unknownRow > unknowns.Rows() || referenceRow < 1 || referenceRow > references.Rows()) {
        return 0.0;
    }
    return Similarity(criterion, unknowns.Row(unknownRow).data(), references.Row(referenceRow).data(), columns);
}

}  // namespace kiv
