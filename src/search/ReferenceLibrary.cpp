#include "search/ReferenceLibrary.h"

#include "base/Format.h"
#include "base/Paths.h"

namespace kiv {

bool OpenCdmFeatures(CReferenceLibrary& reference, FeatureDefinitionSet& definitions, const std::string& path,
                     CPrompter& prompter, CSession& session)
{
    reference.bib.Close();
    if (reference.cdm.Load(path, prompter) != CdmLoad::Cdm) return false;
    const std::string bibName = reference.cdm.BibFileName();
    reference.bib.Open(bibName);
    reference.bib.OpenIndex();
    reference.bib.ReadHeader();
    const std::string descriptorHeader = WithoutSsdExtension(bibName) + "-strrow.txt";
    const bool descriptorsFound = reference.descriptors.OpenDescriptors(descriptorHeader, prompter) == 1;

    definitions.Reset();
    definitions.state = 0;
    definitions.definitionFile = "CDM";
    definitions.lines = reference.definitionLines;

    session.SetStatus(descriptorsFound ? "CDM & Descriptors opened" : "CDM ok, no Descriptors");
    session.ClearLog();
    session.Log(Format("CDM %s opened.", reference.cdm.ReadFileName().c_str()));
    session.Log(Format("Reference BIB2 %s %d blocks opened.", bibName.c_str(), reference.bib.header.blockCount));
    session.Log(Format("Feature Definition %d lines loaded.", static_cast<int>(definitions.lines.size())));
    if (descriptorsFound) {
        session.Log(Format("Descriptors %s %d objects opened.", descriptorHeader.c_str(),
                           reference.descriptors.objectCount));
    } else {
        session.Log(Format("No Descriptors %s found.", descriptorHeader.c_str()));
    }
    session.Redraw();
    return true;
}

}  // namespace kiv
