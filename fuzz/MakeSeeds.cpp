// Writes the seed inputs that our own writers make, one folder per fuzz target below the given
// folder: bib (small libraries with every record kind and mass encoding, with and without their
// index file, in the library fuzzer's input layout), cdm (a matrix in every CDM format, with
// feature definitions and library name), matrix_text (headerless text matrices), parameters
// (the default parameter file) and descriptors (descriptor sets in that fuzzer's input layout).
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/BinaryIO.h"
#include "base/Prompt.h"
#include "library/Bib.h"
#include "matrix/CdmFile.h"
#include "settings/Parameters.h"

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

void WriteFile(const std::string& path, const std::string& bytes)
{
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

void WriteLibrarySeed(const std::string& path, int flags, const std::string& ssd, const std::string& ssi)
{
    std::string input(1, static_cast<char>(flags));
    unsigned char length[4];
    StoreU32(length, static_cast<uint32_t>(ssd.size()));
    input.append(reinterpret_cast<const char*>(length), 4);
    WriteFile(path, input + ssd + ssi);
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

bool WriteLibrarySeeds(const std::string& corpus)
{
    const std::string stem = corpus + "/seed-library";
    CBib bib;
    if (!bib.NewLibrary("Seeds", "MS", stem + ".ssd")) return false;
    for (int b = 1; b <= 6; ++b) {
        bib.record = Record(b, (b - 1) % 4);
        bib.WriteBlock();
    }
    bib.CloseWrite();
    const std::string written = ReadAll(stem + ".ssd");
    CBib reader;
    if (reader.Open(stem) != FileResult::Done || !reader.ReadHeader() || !reader.OpenIndex()) return false;
    reader.Close();
    const std::string rebuilt = ReadAll(stem + ".ssd");
    const std::string index = ReadAll(stem + ".ssi");
    WriteLibrarySeed(corpus + "/seed-written", 0, written, "");
    WriteLibrarySeed(corpus + "/seed-indexed", 1, rebuilt, index);
    WriteLibrarySeed(corpus + "/seed-sequential", 2, rebuilt, "");
    std::remove((stem + ".ssd").c_str());
    std::remove((stem + ".ssi").c_str());
    return true;
}

// A 5 x 11 matrix of 0/1 values and small reals, so that BIT rows start inside bytes.
CMatrix SeedMatrix()
{
    CMatrix m(5, 11);
    for (int i = 1; i <= 5; ++i) {
        for (int j = 1; j <= 11; ++j) m.Set(i, j, (i * j) % 3 == 0 ? 1.0 : (i + j) % 4 * 12.5);
    }
    return m;
}

// The matrix in every CDM format (feature definitions and library name in the header), and as
// headerless text.
void WriteMatrixSeeds(const std::string& cdmCorpus, const std::string& textCorpus)
{
    CMatrix m = SeedMatrix();
    std::vector<std::string> definitions = {"MD 14 1 100 M", "IM 40/50,60/70"};
    CCdmFile cdm;
    cdm.Attach(m, definitions);
    cdm.SetBibFileName("seed.ssd");
    for (const char* format : {"TEXT\t%12.5f", "TEXT\t%g", "TEXTBIN", "BIT", "FLOAT", "DOUBLE", "INT8", "UINT8",
                               "INT16", "UINT16", "INT32", "UINT32", "INT64"}) {
        std::string name = format;
        name = name.substr(0, name.find('\t')) + (name.find("%g") != std::string::npos ? "-g" : "");
        if (cdm.Save(format, cdmCorpus + "/" + name + ".cdm", 0, 0)) cdm.WriteData();
        cdm.CloseWrite();
    }
    if (cdm.Save("TEXT\t%12.5f", textCorpus + "/matrix.txt", 0, 0)) cdm.WriteData();
    cdm.CloseWrite();
}

void WriteParameterSeeds(const std::string& corpus)
{
    CParameters parameters;
    parameters.SetDefaults();
    CHeadlessPrompter prompter;
    SaveParameters(parameters, corpus + "/defaults.ini", 100, prompter);
}

// Descriptor sets in the descriptor fuzzer's layout: the three header lines, then the ".bit"
// bytes. Twelve-bit objects start inside bytes, sixteen-bit ones are byte-aligned.
void WriteDescriptorSeeds(const std::string& corpus)
{
    WriteFile(corpus + "/twelve-bits", "structure descriptors\r\nObjs:3\r\nBits:12\r\n" +
                                           std::string("\xcd\xb3\xa3\x05\x08", 5));
    WriteFile(corpus + "/sixteen-bits", "structure descriptors\r\nObjs:4\r\nBits:16\r\n" +
                                            std::string("\xc7\x00\x8b\x00\x00\x00\xff\x01", 8));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds FOLDER\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    for (const char* target : {"bib", "cdm", "matrix_text", "parameters", "descriptors"}) {
        std::filesystem::create_directories(root / target);
    }
    if (!WriteLibrarySeeds((root / "bib").string())) return 1;
    WriteMatrixSeeds((root / "cdm").string(), (root / "matrix_text").string());
    WriteParameterSeeds((root / "parameters").string());
    WriteDescriptorSeeds((root / "descriptors").string());
    return 0;
}
