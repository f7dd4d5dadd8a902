#include "features/FeatureEngine.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "base/Reporter.h"
#include "features/IntensityFamilies.h"
#include "features/PatternFamilies.h"
#include "features/PeakGroupFamilies.h"
#include "features/SpectraScaling.h"

namespace kiv {

namespace {

// The spectra as the caller passed them, kept while "SCI" lines transform them, so that
// transformations never accumulate and the caller gets its spectra back unchanged.
class CSpectraBackup {
public:
    CSpectraBackup(CMatrix& spectra, std::vector<double>& copy) : spectra_(spectra), copy_(copy) {}
    ~CSpectraBackup() { Restore(); }

    // Before each "SCI" line: take the copy once, and undo an earlier line's transformation.
    void BeforeScaling()
    {
        if (state_ == State::None) {
            copy_.assign(spectra_.Data(), spectra_.Data() + spectra_.Count());
            state_ = State::Unchanged;
        }
        Restore();
    }
    void MarkChanged() { state_ = State::Changed; }

private:
    void Restore()
    {
        if (state_ != State::Changed) return;
        std::copy(copy_.begin(), copy_.end(), spectra_.Data());
        state_ = State::Unchanged;
    }

    enum class State { None, Unchanged, Changed };
    CMatrix& spectra_;
    std::vector<double>& copy_;
    State state_ = State::None;
};

}  // namespace

double QuantiseFeature(double value) { return std::floor(value * 2.55 + 0.500000000001) * 0.3921568627450981; }

void EvaluateDefinitions(const ParsedDefinitions& definitions, CMatrix& spectra, CMatrix& target, int64_t rowOffset,
                         int featureQuantisation, EngineScratch& scratch)
{
    CSpectraBackup backup(spectra, scratch.backup);
    const CSpectraView view(spectra, scratch);
    int64_t columnOffset = 0;
    for (const DefinitionLine& line : definitions.lines) {
        for (const std::string& message : line.messages) ReportRunTimeError(message);
        const int k = line.FeatureCount();
        CFeatureTarget cells(target, rowOffset, columnOffset, k);
        std::visit(
            [&](const auto& params) {
                using T = std::decay_t<decltype(params)>;
                if constexpr (std::is_same_v<T, SciLine>) {
                    backup.BeforeScaling();
                    if (ScaleSpectra(params, spectra, view, scratch)) backup.MarkChanged();
                } else if constexpr (std::is_same_v<T, ModuloLine>) {
                    ComputeModulo(params, view, cells, scratch);
                } else if constexpr (std::is_same_v<T, RatioLine>) {
                    ComputeRatio(params, view, cells);
                } else if constexpr (std::is_same_v<T, AutocorrelationLine>) {
                    ComputeAutocorrelation(params, view, cells);
                } else if constexpr (std::is_same_v<T, MeanIntensityLine>) {
                    ComputeMeanIntensity(params, view, cells);
                } else if constexpr (std::is_same_v<T, LocalShareLine>) {
                    ComputeLocalShare(params, view, cells, scratch);
                } else if constexpr (std::is_same_v<T, IonShareLine>) {
                    ComputeIonShare(params, view, cells);
                } else if constexpr (std::is_same_v<T, GroupLine>) {
                    ComputeGroup(params, view, cells);
                } else if constexpr (std::is_same_v<T, PatternLine>) {
                    ComputePattern(params, view, cells, scratch);
                }
            },
            line.params);
        if (featureQuantisation == 10) {
            for (int i = 1; i <= view.Count(); ++i) {
                for (int j = 1; j <= k; ++j) cells.Set(i, j, QuantiseFeature(cells.Get(i, j)));
            }
        }
        columnOffset += k;
    }
}

}  // namespace kiv
