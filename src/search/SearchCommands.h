#pragma once
// The search commands of the desktop application as operations on the document's objects.
#include "base/Prompt.h"
#include "base/Session.h"
#include "features/FeatureDefinitionSet.h"
#include "library/Bib.h"
#include "search/Hitlist.h"
#include "search/ReferenceLibrary.h"

namespace kiv {

// "Spectral Similarity Search Current Spectrum": the current record of the unknowns' library
// against the reference CDM, with the CDM's feature definitions.
void SearchCurrentSpectrum(CBib& unknowns, FeatureDefinitionSet& definitions, CReferenceLibrary& reference,
                           Hitlist& hitlist, CPrompter& prompter, CSession& session);
// "Spectral Similarity Search BIB": every record of the unknowns' library.
void SearchWholeBib(CBib& unknowns, FeatureDefinitionSet& definitions, CReferenceLibrary& reference,
                    Hitlist& hitlist, CPrompter& prompter, CSession& session);
// "Save Hitlist to BIB": the current unknown's hits, in hit order, as a new library (an empty
// path asks for it).
void SaveHitlistToBib(const Hitlist& hitlist, CReferenceLibrary& reference, const std::string& path,
                      CSession& session);

}  // namespace kiv
