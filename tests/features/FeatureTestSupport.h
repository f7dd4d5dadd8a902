#pragma once
// Small spectra and one-call feature evaluation for the feature tests.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "features/FeatureDefinitionSet.h"
#include "matrix/Matrix.h"

namespace kiv::test {

using Peaks = std::vector<std::pair<int, double>>;

// One spectrum per entry of peaks, highestMass columns; unlisted masses are 0.
inline CMatrix MakeSpectra(int highestMass, const std::vector<Peaks>& spectra)
{
    CMatrix s(static_cast<int>(spectra.size()), highestMass);
    for (size_t i = 0; i < spectra.size(); ++i) {
        for (auto [mass, intensity] : spectra[i]) s.Set(static_cast<int>(i + 1), mass, intensity);
    }
    return s;
}

// First pass of the given lines on the spectra; returns the set for inspection.
inline FeatureDefinitionSet FirstPass(const std::vector<std::string>& lines, CMatrix& spectra)
{
    FeatureDefinitionSet set;
    set.lines = lines;
    set.ComputeFeatures(spectra, 0);
    return set;
}

// The feature row of a single spectrum.
inline std::vector<double> FeatureRow(const std::vector<std::string>& lines, int highestMass, const Peaks& peaks)
{
    CMatrix s = MakeSpectra(highestMass, {peaks});
    FeatureDefinitionSet set = FirstPass(lines, s);
    std::vector<double> row;
    for (int j = 1; j <= set.features.Cols(); ++j) row.push_back(set.features.Get(1, j));
    return row;
}

using Row = std::vector<double>;

// Every value of a feature row, within rounding of the hand-worked values.
inline void ExpectRow(const Row& actual, const Row& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t j = 0; j < expected.size(); ++j) EXPECT_NEAR(actual[j], expected[j], 1e-9) << "column " << j + 1;
}

}  // namespace kiv::test
