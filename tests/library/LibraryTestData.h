#pragma once
// Sample library records and a little-endian byte builder for the library tests. The builder is
// deliberately separate from the production codec, so that byte layouts are checked against an
// independent spelling of the format.
#include <cstdint>
#include <string>

#include "library/BibRecord.h"

namespace kiv::test {

class CBytes {
public:
    CBytes& I8(int v) { bytes.push_back(static_cast<char>(v)); return *this; }
    CBytes& I16(int v) { return I8(v & 0xff).I8((v >> 8) & 0xff); }
    CBytes& I32(int64_t v)
    {
        for (int i = 0; i < 4; ++i) I8(static_cast<int>((v >> (8 * i)) & 0xff));
        return *this;
    }
    CBytes& I64(int64_t v) { return I32(v & 0xffffffff).I32((v >> 32) & 0xffffffff); }
    CBytes& Text(const std::string& s) { bytes += s; return *this; }
    CBytes& Str(const std::string& s) { return I8(static_cast<int>(s.size())).Text(s); }
    std::string bytes;
};

// Ethanol: C-C-O with hydrogen counts on every heavy atom.
CMolecule Ethanol();
// A peak-list spectrum with the given width and decimals.
CMassSpectrum PeakSpectrum(int nbyte, int ndec, std::initializer_list<std::pair<double, double>> peaks);
// A vector spectrum over firstMass..lastMass with the given (mass, intensity) values.
CMassSpectrum VectorSpectrum(int firstMass, int lastMass, std::initializer_list<std::pair<int, double>> values);
// A record that uses every record type.
CBibRecord FullRecord(int id);

}  // namespace kiv::test
