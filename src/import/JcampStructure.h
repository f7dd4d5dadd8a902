#pragma once
// Structures written into JCAMP-DX spectra as three line lists: "##ATOMLIST" (atom number,
// element symbol, attached hydrogens), "##BONDLIST" (two atom numbers and a bond code) and
// "##XY_RASTER" (atom number and drawing coordinates).
#include <string>
#include <vector>

#include "chem/Molecule.h"

namespace kiv {

// Builds the molecule from the raw lines of the three lists (one atom per atom line, in line
// order). A bond or coordinate line that names an atom outside the atom list is dropped, so a
// damaged list never indexes outside the molecule.
void BuildJcampMolecule(const std::vector<std::string>& atomLines, const std::vector<std::string>& bondLines,
                        const std::vector<std::string>& rasterLines, CMolecule& molecule);

// Bond order of a JCAMP bond code: 2 double, 3 triple, 4 "any" (8), 5 aromatic (4), any other
// code from 1 to 12 single. The letters of the structure lists (S, D, T, A) are read as single,
// double, triple and aromatic; anything else unreadable counts as single.
int JcampBondOrder(std::string_view codeText);

}  // namespace kiv
