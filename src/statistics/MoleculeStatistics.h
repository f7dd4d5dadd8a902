#pragma once
// The element composition of the structures of a library: per element, in how many molecules it
// occurs and the minimum, maximum, mean and variance of its atom count.
#include "base/Prompt.h"
#include "base/Session.h"
#include "chem/Molecule.h"
#include "library/Bib.h"
#include "matrix/Matrix.h"

namespace kiv {

// Element bins: atomic numbers (and query codes) 1..128 in their own bin, code 0 and 129 in bin
// 129; hydrogen counts of the atoms add to bin 1.
constexpr int kElementBins = 129;

// The atom count of every bin for one molecule (index 0 = bin 1).
std::vector<int> ElementCounts(const CMolecule& molecule);

// Walks the library; table becomes 129 x 5 (per bin: molecules containing it, min, max, mean,
// variance; min and max count a molecule without the element as 0, the others only those with
// it). Logs "BIB Molecule Statistics Matrix calculated." and offers the report file.
void MoleculeStatisticsCommand(CBib& bib, CMatrix& table, CPrompter& prompter, CSession& session);

std::string MoleculeReport(const CMatrix& table);

}  // namespace kiv
