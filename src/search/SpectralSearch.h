#pragma once
// The spectral similarity search: the feature vectors of the unknowns against every row of the
// reference CDM, streamed block by block, each block transformed once and compared with all
// unknowns before the next is read.
#include "settings/Parameters.h"
#include "search/Hitlist.h"
#include "search/ReferenceLibrary.h"
#include "search/RetentionWindow.h"

namespace kiv {

// Fills the hitlist's similarities and reference numbers for every row of unknowns (which is
// left transformed). Settings: "No Hits", "Del ident Hit1", "Sim Criterion", the two transform
// exponents and "Sim Feat Sel". Progress is reported (and a cancel honoured) every 4000
// references. With "RI Window" on and indices given, references outside the window do not
// enter (RetentionWindow.h) and the hitlist keeps the indices of unknowns and hits. Returns 1.
int SearchSimilar(Hitlist& hitlist, CMatrix& unknowns, CReferenceLibrary& reference, const CParameters& settings,
                  const CRetentionIndices* indices = nullptr);

}  // namespace kiv
