#pragma once
// The library record: everything one block of a spectral library holds in memory (compound ID,
// name data, structure, mass spectrum, infrared spectrum, supplementary data), and the library
// header. Each part carries an "empty" flag: an empty part has no record in the block.
#include <cstdint>
#include <string>
#include <vector>

#include "chem/Molecule.h"
#include "library/MassSpectrum.h"
#include "matrix/Matrix.h"

namespace kiv {

// Name data of a compound.
struct CBibName {
    int empty = 1;
    int32_t cas = 0;  // CAS registry number, 0 = none
    int32_t nominalMW = 0;
    double mw = 0;  // molecular weight
    double mass2 = 0;  // a second mass value of the source, carried unchanged
    std::string formula;  // molecular formula as given by the source
    std::string origin;  // library or source the spectrum came from
    int32_t originNumber = 0;  // number of the spectrum in its origin
    std::string name;  // compound name

    // Field by field, so that the strings keep their storage for the next record.
    void Clear();
};

// A CAS registry number with its dashes: 50000 is "50-00-0".
std::string CasText(int32_t cas);

// Infrared spectrum. Nothing in the workbench interprets it; it is read, copied and written
// unchanged, so the points keep the integers of the file exactly (8-byte points included).
struct CIrSpectrum {
    int empty = 1;
    uint16_t kind = 0;
    uint16_t pointCount = 0;
    int32_t axis[3] = {0, 0, 0};
    uint8_t pointWidth = 2;  // bytes per point: 1, 2, 4 or 8
    std::vector<int64_t> points;  // unsigned for widths 1, 2, 4; signed for 8
    int32_t parameter4 = 0;
    float scale = 0;
    std::string text1;
    int32_t reserved = 0;
    std::string text2;

    void Clear();
};

// One named numeric matrix of the supplementary data; the type name ("float32", "uint16", ...)
// fixes how its values are stored.
struct CSupItem {
    std::string name;
    std::string type;
    CMatrix values;
};

// Supplementary data: a list of named matrices (the background-subtraction data of GC-MS scans
// travel this way).
struct CSupData {
    int empty = 1;
    std::vector<CSupItem> items;  // at most 255 are stored

    void Clear()
    {
        empty = 1;
        items.clear();
    }
};

struct CBibRecord {
    int32_t id = 0;  // compound ID ("ID#")
    CBibName name;
    CMolecule molecule;
    CMassSpectrum spectrum;
    CIrSpectrum ir;
    CSupData sup;

    void Clear();
};

// The header of a library file.
struct CBibHeader {
    std::string title;
    std::string typ;  // kind of library: "MS", "GC-MS", "GC-MS Sub", ...
    int32_t blockCount = 0;
    std::string comment1;
    std::string comment2;
    CMatrix vector;  // 1 x n, one value per block (the total ion current of each GC-MS scan)

    void Clear();
};

}  // namespace kiv
