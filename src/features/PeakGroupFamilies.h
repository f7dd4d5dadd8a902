#pragma once
// Statistics over a group of masses: "PG" (a freely chosen group) and "SP" "PYRIMID01" (the
// fixed group 64, 65, 66, 90 with its pattern rule). One feature column per method.
#include "features/DefinitionLine.h"
#include "features/EngineContext.h"

namespace kiv {

void ComputeGroup(const GroupLine& line, const CSpectraView& spectra, CFeatureTarget& target);

}  // namespace kiv
