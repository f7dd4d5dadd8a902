#pragma once
// A chemical structure as a connection table: per-atom arrays (element, isotope, charge,
// radical, hydrogen count, coordinates) and per-bond arrays (the two atoms, order, stereo).
// It is the structure part of every library record and of the Molfile reader's result.
#include <cstdint>
#include <string>
#include <vector>

namespace kiv {

class CMolecule {
public:
    int empty = 1;  // 1 while no atoms are allocated
    uint16_t atomCount = 0;
    uint16_t bondCount = 0;

    // Per atom (atomCount entries).
    std::vector<uint8_t> element;  // atomic number 1..105, or the query / unknown codes
    std::vector<uint8_t> isotope;  // mass number, 0 = natural isotope composition
    std::vector<int8_t> charge;
    std::vector<uint8_t> radical;  // radical code of connection tables, 0 = none
    std::vector<uint8_t> hydrogenCode;  // 0 = not given, n + 1 = n hydrogens attached
    std::vector<uint8_t> atomSpare;
    std::vector<float> x;
    std::vector<float> y;
    std::vector<float> z;

    // Per bond (bondCount entries); atom numbers are 1-based.
    std::vector<uint16_t> bondFrom;
    std::vector<uint16_t> bondTo;
    std::vector<uint8_t> bondOrder;  // 1 single, 2 double, 3 triple, 4 aromatic, 8 any
    std::vector<uint8_t> bondStereo;

    // Sizes every per-atom array to atoms and every per-bond array to bonds, all zero; fewer
    // than one atom clears the molecule instead. Counts above 65,535 are cut to 65,535.
    void Allocate(int atoms, int bonds);
    void Clear();

    // Molecular formula in the form "C2H6O1": carbon, hydrogen (explicit hydrogen atoms plus
    // the hydrogen counts of the atoms), then the other elements by atomic number, each with its
    // count, also a count of 1. The query atoms X, Q and A follow the table elements; atoms of
    // unknown element have no symbol and are left out.
    std::string Formula() const;
};

}  // namespace kiv
