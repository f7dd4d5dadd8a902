#pragma once
// "PPS": similarity of each spectrum with a reference peak pattern, optionally slid along the
// mass axis; per method the best score over all positions (never negative).
#include "features/DefinitionLine.h"
#include "features/EngineContext.h"

namespace kiv {

void ComputePattern(const PatternLine& line, const CSpectraView& spectra, CFeatureTarget& target,
                    EngineScratch& scratch);

}  // namespace kiv
