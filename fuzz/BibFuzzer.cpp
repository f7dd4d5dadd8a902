// Fuzz target: arbitrary bytes opened and read as a spectral library.
//
// Input layout: byte 0 holds flags (bit 0: an index file is given, bit 1: read blocks in file
// order instead of through the index), bytes 1-4 the length of the data file part (taken modulo
// what is left); then the ".ssd" bytes, then the ".ssi" bytes. Without an index file the reader
// rebuilds it from the data file, which exercises the rebuild with its in-place patches too.
//
// Besides "no crash, no leak, no undefined behaviour" it checks one property: every block that
// reads back without complaint can be written again, and writing what was read back from that
// gives the same bytes (the reader and the writer mirror each other).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzFiles.h"
#include "base/BinaryIO.h"
#include "library/Bib.h"
#include "library/BibRecords.h"

using namespace kiv;

namespace {

// Masses are held as doubles: a stored integer mass beyond 2^50 units (m x 10^decimals) need
// not survive the division by 10^decimals and the multiplication back exactly. Real spectra
// are far below that; such blocks are left out of the round-trip check.
bool MassesExact(const CMassSpectrum& s)
{
    if (s.empty || s.isVector) return true;
    const double scale = std::pow(10.0, s.ndec);
    const double limit = std::ldexp(1.0, 50);
    if (std::fabs(s.basePeakMass * scale) >= limit) return false;
    for (int j = 1; j <= s.peaks.Cols(); ++j) {
        if (std::fabs(s.peaks.Get(1, j) * scale) >= limit) return false;
    }
    return true;
}

void CheckRoundTrip(const CBibRecord& record)
{
    if (!MassesExact(record.spectrum)) return;
    std::string first;
    if (!EncodeBlock(first, record, 0)) std::abort();
    const BibIndexRecord x = DecodeIndexRecord(reinterpret_cast<const unsigned char*>(first.data()));
    CBibRecord back;
    if (!DecodeBlockBody(reinterpret_cast<const unsigned char*>(first.data()) + kIndexRecordLength, first.size() - kIndexRecordLength,
                         x, back)) {
        std::abort();
    }
    std::string second;
    if (!EncodeBlock(second, back, 0) || second != first) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 5) return 0;
    const int flags = data[0];
    const size_t rest = size - 5;
    const size_t ssdSize = rest == 0 ? 0 : LoadU32(data + 1) % (rest + 1);
    const std::string stem = fuzz::ScratchPath("lib");
    fuzz::WriteScratchFile("lib.ssd", data + 5, ssdSize);
    if (flags & 1) {
        fuzz::WriteScratchFile("lib.ssi", data + 5 + ssdSize, rest - ssdSize);
    } else {
        std::remove((stem + ".ssi").c_str());
    }

    CBib bib;
    if (bib.Open(stem) != FileResult::Done) std::abort();
    bib.ReadHeader();
    if (!bib.OpenIndex()) return 0;
    const int blocks = std::min(bib.header.blockCount, bib.indexTable.Cols() + 1);
    if (flags & 2) {
        if (bib.SeekBlock(1) == 0) {
            for (int b = 0; b < 4096 && !bib.AtEndOfData(); ++b) {
                if (!bib.ReadBlock(SpectrumReading::AsStored)) break;
                CheckRoundTrip(bib.record);
            }
        }
    } else {
        for (int b = 1; b <= blocks && b <= 4096; ++b) {
            bib.SelectBlock(b, SpectrumReading::AsStored);
            if (bib.readError == 0) CheckRoundTrip(bib.record);
            bib.SelectBlock(b);
            bib.record.spectrum.ToVector();
        }
    }
    return 0;
}
