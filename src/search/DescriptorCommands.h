#pragma once
// The descriptor commands of the desktop application, as operations on a descriptor set (the
// reference set or the unknowns' set of the document).
#include "base/Prompt.h"
#include "base/Session.h"
#include "matrix/MatrixI.h"
#include "search/DescriptorSet.h"
#include "search/Hitlist.h"

namespace kiv {

// "Open Descriptors": asks for the header and opens the set.
void OpenDescriptorsCommand(DescriptorSet& set, CPrompter& prompter, CSession& session);
// "Load Descriptors": opens the set, reads every object into memory and closes the ".bit" file;
// true when objects were loaded.
bool LoadDescriptorsCommand(DescriptorSet& set, CPrompter& prompter, CSession& session);
// "Close Descriptors".
void CloseDescriptorsCommand(DescriptorSet& set, CSession& session);
// "Copy BitString of Object ...": asks for the object and copies its bit string.
void CopyBitStringCommand(DescriptorSet& set, CPrompter& prompter, CSession& session);
// "Show Descriptor": asks for the object and shows its bit string in a message box.
void ShowDescriptorCommand(DescriptorSet& set, CPrompter& prompter);
// "Use Descriptors Y": y becomes objects x bits, row i the 0/1 vector of object i (from the
// loaded objects, or read one by one from the ".bit" file when they are not loaded), and its
// column index list 1..bits. Only the objects available are copied (none: y is 0 x 0).
void UseDescriptorsY(DescriptorSet& set, CMatrix& y, CMatrixI& yColumns, CSession& session);
// "SpecSimSearch Calc Structural Similarity": the structural similarity matrix of the current
// hitlist, one row per unknown and one column per hit, zero-filled (the batch evaluations
// compute the values).
CMatrix StructuralSimilarityMatrix(const Hitlist& hitlist);

}  // namespace kiv
