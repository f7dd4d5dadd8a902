#pragma once
// The intensity distribution per mass over the spectra of a library, and the value
// distribution per feature over its feature vectors.
#include "base/Prompt.h"
#include "base/Session.h"
#include "features/FeatureDefinitionSet.h"
#include "library/Bib.h"
#include "matrix/Matrix.h"

namespace kiv {

struct RangeTables {
    CMatrix table;  // per mass (feature): count, min, max, mean, variance
    CMatrix cells;  // 1 x (steps + 2): the histogram over the value ranges
};

// "Enter I min:", "Enter I max:", "Enter number of I steps:" (0, 100, 100), then the masses
// 1..MSM maximum mass of every spectrum, taken with all its stored masses. Logs
// "BIB MS Statistics Matrix calculated.", "Intensity Ranges: %d", "Masses %d" and offers the
// report file.
void MassStatisticsCommand(CBib& bib, RangeTables& result, CPrompter& prompter, CSession& session);

// The same over the feature vectors that the loaded definitions give for every block ("Enter
// Feature min:", ...). Without an open library or definition lines: "Open BIB and load Feature
// definitions!".
void FeatureStatisticsCommand(CBib& bib, FeatureDefinitionSet& set, RangeTables& result, CPrompter& prompter,
                              CSession& session);

}  // namespace kiv
