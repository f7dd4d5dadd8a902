#pragma once
// The reference side of a spectral similarity search: the CDM file of reference features read
// block by block, the reference library (BIB2) the CDM was written for, which names the hits and
// holds their structures, and the structure descriptors of that library.
#include <string>
#include <vector>

#include "base/Prompt.h"
#include "base/Session.h"
#include "features/FeatureDefinitionSet.h"
#include "library/Bib.h"
#include "matrix/CdmFile.h"
#include "search/DescriptorSet.h"

namespace kiv {

struct CReferenceLibrary {
    CReferenceLibrary() { cdm.Attach(block, definitionLines); }
    CReferenceLibrary(const CReferenceLibrary&) = delete;
    CReferenceLibrary& operator=(const CReferenceLibrary&) = delete;

    CMatrix block;  // the block of reference rows read last
    std::vector<std::string> definitionLines;  // the feature definitions the CDM was made with
    CCdmFile cdm;
    CBib bib;
    DescriptorSet descriptors;
};

// "Open CDM Features": loads the reference CDM (an empty path asks), opens the library named in
// its header and the descriptors beside it ("-strrow.txt"), and makes the CDM's definition lines
// the unknowns' feature definitions. Returns false when the CDM could not be loaded.
bool OpenCdmFeatures(CReferenceLibrary& reference, FeatureDefinitionSet& definitions, const std::string& path,
                     CPrompter& prompter, CSession& session);

}  // namespace kiv
