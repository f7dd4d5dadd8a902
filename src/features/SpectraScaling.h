#pragma once
// The "SCI" input transformation: intensity threshold, intensity and mass weighting, and
// renormalisation to a base peak of 100, applied in place to the spectra that the following
// definition lines see. The engine keeps a copy of the spectra and restores them.
#include "features/DefinitionLine.h"
#include "features/EngineContext.h"
#include "matrix/Matrix.h"

namespace kiv {

// Transforms every spectrum (row) of spectra, which view shows; true when any element may have
// changed. Zero intensities stay zero. scratch keeps the mass weights from call to call.
bool ScaleSpectra(const SciLine& line, CMatrix& spectra, const CSpectraView& view, EngineScratch& scratch);

}  // namespace kiv
