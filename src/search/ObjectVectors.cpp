#include "search/ObjectVectors.h"

#include <algorithm>

#include "base/Reporter.h"
#include "search/NumberFile.h"

namespace kiv {

CObjectVectors::CObjectVectors(CBib& library, const ObjectVectorSource& source, bool siscom)
    : library_(library), source_(source), siscom_(siscom && source.featureFile.empty())
{
    if (!UsesFeatures()) length_ = std::max(source.maxMass, 0);
}

void CObjectVectors::Initialise()
{
    if (!UsesFeatures()) return;
    library_.SelectBlock(1);
    features_.definitionFile = source_.featureFile;
    features_.LoadDefinitions();
    if (features_.lines.empty()) ReportRunTimeError("No feature definitions loaded!");
    CMassSpectrum& spectrum = library_.record.spectrum;
    spectrum.ToVector();
    features_.ComputeFeatures(spectrum.vector, 0);
    if (!source_.featureIndexFile.empty()) featureIndex_ = LoadNumberFile(source_.featureIndexFile);
    length_ = source_.featureIndexFile.empty() ? features_.featureCount : static_cast<int>(featureIndex_.size());
}

void CObjectVectors::Build(int32_t record, bool query, double* out)
{
    std::fill(out, out + length_, 0.0);
    if (record < 1 || record > library_.header.blockCount) return;
    library_.SelectBlock(record);
    CMassSpectrum& spectrum = library_.record.spectrum;
    if (spectrum.empty) return;
    spectrum.ToVector();
    if (UsesFeatures()) {
        BuildFromFeatures(spectrum, out);
        return;
    }
    if (siscom_) {
        SiscomOptions options = siscomOptions_;
        options.query = query ? 1 : 0;
        PrepareSiscom(spectrum, library_.record.name.name, options);
    }
    const int copied = std::min(length_, spectrum.vector.Cols());
    for (int j = 0; j < copied; ++j) out[j] = spectrum.vector.Get(1, j + 1);
}

void CObjectVectors::BuildFromFeatures(CMassSpectrum& spectrum, double* out)
{
    if (features_.featureCount == 0 || spectrum.vector.Cols() == 0) return;
    features_.ComputeFeatures(spectrum.vector, 1);
    for (int i = 0; i < length_; ++i) {
        out[i] = features_.features.Get(1, featureIndex_.empty() ? i + 1 : featureIndex_[static_cast<size_t>(i)]);
    }
}

}  // namespace kiv
