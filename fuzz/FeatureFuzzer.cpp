// Fuzz target: arbitrary bytes loaded as a feature-definition file and evaluated by the engine
// on two fixed spectra, first pass and row pass. Besides crashes it checks the engine's promise
// that the spectra hold on return exactly what they held on entry, whatever "SCI" lines did.
#include <cstdint>
#include <cstdlib>

#include "FuzzFiles.h"
#include "features/FeatureDefinitionSet.h"

using namespace kiv;

namespace {

// Two small spectra with base peak 100: an alkane-like series and an aromatic pattern.
CMatrix FixedSpectra()
{
    CMatrix spectra(2, 200);
    const int alkane[][2] = {{27, 30}, {29, 45}, {41, 60}, {43, 100}, {57, 85}, {71, 40}, {85, 20}, {142, 3}};
    const int aromatic[][2] = {{39, 12}, {51, 8}, {63, 6}, {65, 14}, {77, 5}, {91, 100}, {92, 62}, {106, 1}};
    for (const auto& peak : alkane) spectra.Set(1, peak[0], peak[1]);
    for (const auto& peak : aromatic) spectra.Set(2, peak[0], peak[1]);
    return spectra;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const CMatrix fixed = FixedSpectra();
    FeatureDefinitionSet set;
    set.definitionFile = fuzz::WriteScratchFile("definitions.txt", data, size);
    if (set.LoadDefinitions() != FileResult::Done) return 0;
    CMatrix spectra = fixed;
    set.ComputeFeatures(spectra, 0);
    set.ComputeFeatures(spectra, 1);
    if (spectra.Rows() != fixed.Rows() || spectra.Cols() != fixed.Cols()) std::abort();
    for (int k = 1; k <= fixed.Count(); ++k) {
        if (spectra.GetFlat(k) != fixed.GetFlat(k)) std::abort();
    }
    return 0;
}
