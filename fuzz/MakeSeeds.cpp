// Writes seed inputs for the library fuzzer: small valid libraries with every record kind and
// mass encoding, with and without their index file, in the fuzzer's input layout.
#include <cstdio>
#include <string>
#include <unistd.h>

#include "base/BinaryIO.h"
#include "library/Bib.h"

using namespace kiv;

namespace {

std::string ReadAll(const std::string& path)
{
    std::string bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
        std::fclose(file);
    }
    return bytes;
}

void WriteSeed(const std::string& path, int flags, const std::string& ssd, const std::string& ssi)
{
    std::string input(1, static_cast<char>(flags));
    unsigned char length[4];
    StoreU32(length, static_cast<uint32_t>(ssd.size()));
    input.append(reinterpret_cast<const char*>(length), 4);
    input += ssd;
    input += ssi;
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(input.data(), 1, input.size(), file);
        std::fclose(file);
    }
}

CBibRecord Record(int id, int kind)
{
    CBibRecord r;
    r.id = id;
    CMassSpectrum& s = r.spectrum;
    s.empty = 0;
    s.basePeakIntensity = 1000;
    s.comment = "seed";
    if (kind == 0) {
        s.isVector = 1;
        s.firstMass = 40;
        s.lastMass = 44;
        s.vector.Alloc(1, 44);
        s.vector.Set(1, 41, 50);
        s.vector.Set(1, 43, 100);
        s.basePeakMass = 43;
        s.retentionTime = 3.5;
    } else {
        s.isVector = 0;
        s.nbyte = kind == 1 ? 2 : kind == 2 ? 4 : 8;
        s.ndec = kind - 1;
        s.peaks.Alloc(2, 3);
        s.peaks.Set(1, 1, 43.1);
        s.peaks.Set(2, 1, 100);
        s.peaks.Set(1, 2, 57.2);
        s.peaks.Set(2, 2, 40);
        s.peaks.Set(1, 3, 150);
        s.peaks.Set(2, 3, 10);
        s.basePeakMass = 43.1;
        s.retentionIndex = 1100;
    }
    if (kind != 0) {
        r.name.empty = 0;
        r.name.name = "seed compound";
        r.name.formula = "C2H6O";
        r.name.mw = 46.07;
        r.molecule.Allocate(3, 2);
        r.molecule.element = {6, 6, 8};
        r.molecule.bondFrom = {1, 2};
        r.molecule.bondTo = {2, 3};
        r.molecule.bondOrder = {1, 1};
    }
    if (kind == 3) {
        r.ir.empty = 0;
        r.ir.pointWidth = 4;
        r.ir.points = {1, 2, 3};
        r.sup.empty = 0;
        r.sup.items.push_back({"shape", "float32", CMatrix(1, 3)});
        r.sup.items.push_back({"n", "int16", CMatrix(2, 1)});
    }
    return r;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) return 2;
    const std::string corpus = argv[1];
    const std::string stem = corpus + "/seed-library";
    CBib bib;
    if (!bib.NewLibrary("Seeds", "MS", stem + ".ssd")) return 1;
    for (int b = 1; b <= 6; ++b) {
        bib.record = Record(b, (b - 1) % 4);
        bib.WriteBlock();
    }
    bib.CloseWrite();
    const std::string written = ReadAll(stem + ".ssd");
    CBib reader;
    if (reader.Open(stem) != 0 || !reader.ReadHeader() || !reader.OpenIndex()) return 1;
    reader.Close();
    const std::string rebuilt = ReadAll(stem + ".ssd");
    const std::string index = ReadAll(stem + ".ssi");
    WriteSeed(corpus + "/seed-written", 0, written, "");
    WriteSeed(corpus + "/seed-indexed", 1, rebuilt, index);
    WriteSeed(corpus + "/seed-sequential", 2, rebuilt, "");
    std::remove((stem + ".ssd").c_str());
    std::remove((stem + ".ssi").c_str());
    return 0;
}
