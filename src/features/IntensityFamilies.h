#pragma once
// Feature families that look at intensities mass by mass or over mass ranges: residue sums
// ("MD"), intensity ratios ("LR"), autocorrelation ("AC"), range means ("IM", "IMT..."), local
// intensity shares ("IML") and ion-current shares ("TYP"). Each writes every cell of its target.
#include "features/DefinitionLine.h"
#include "features/EngineContext.h"

namespace kiv {

void ComputeModulo(const ModuloLine& line, const CSpectraView& spectra, CFeatureTarget& target, EngineScratch& scratch);
void ComputeRatio(const RatioLine& line, const CSpectraView& spectra, CFeatureTarget& target);
void ComputeAutocorrelation(const AutocorrelationLine& line, const CSpectraView& spectra, CFeatureTarget& target);
void ComputeMeanIntensity(const MeanIntensityLine& line, const CSpectraView& spectra, CFeatureTarget& target);
void ComputeLocalShare(const LocalShareLine& line, const CSpectraView& spectra, CFeatureTarget& target,
                       EngineScratch& scratch);
void ComputeIonShare(const IonShareLine& line, const CSpectraView& spectra, CFeatureTarget& target);

}  // namespace kiv
