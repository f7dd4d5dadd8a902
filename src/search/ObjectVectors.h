#pragma once
// The object vector of a library record, the form in which an evaluation compares records: its
// features (all, or the listed ones in list order), or its spectrum over masses 1..maxMass,
// prepared for the SISCOM criteria when those are used.
#include <cstdint>
#include <string>
#include <vector>

#include "features/FeatureDefinitionSet.h"
#include "library/Bib.h"
#include "search/SiscomPreparation.h"

namespace kiv {

// Where the vectors come from: a feature-definition file (and optionally a feature index file),
// or without one the spectra up to maxMass.
struct ObjectVectorSource {
    std::string featureFile;
    std::string featureIndexFile;
    int32_t maxMass = 0;
};

class CObjectVectors {
public:
    // siscom: spectra get the SISCOM preparation (never features).
    CObjectVectors(CBib& library, const ObjectVectorSource& source, bool siscom);
    // With a feature file: loads the definitions and learns the features on record 1; loads
    // the feature index. Reports "No feature definitions loaded!" when there are none.
    void Initialise();
    int Length() const { return length_; }
    // The number of features the definitions yield (0 without a feature file).
    int FeatureCount() const { return features_.featureCount; }
    // Reads record (1-based; anything else gives zeros) and writes its vector to out. query
    // marks an unknown for the SISCOM preparation.
    void Build(int32_t record, bool query, double* out);

private:
    bool UsesFeatures() const { return !source_.featureFile.empty(); }
    void BuildFromFeatures(CMassSpectrum& spectrum, double* out);

    CBib& library_;
    ObjectVectorSource source_;
    bool siscom_;
    SiscomOptions siscomOptions_;
    FeatureDefinitionSet features_;
    std::vector<int32_t> featureIndex_;
    int length_ = 0;
};

}  // namespace kiv
