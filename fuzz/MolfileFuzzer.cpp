// Fuzz target: arbitrary bytes read as an SD file, record after record. Besides crashes it checks
// that every call either ends the stream or moves on, so that no file can hold a reader in place.
#include <cstdint>
#include <cstdlib>

#include "FuzzFiles.h"
#include "import/MolfileReader.h"

using namespace kiv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CLineReader stream;
    if (!stream.Open(fuzz::WriteScratchFile("input.sdf", data, size))) std::abort();
    CMolecule molecule;
    for (;;) {
        const int64_t before = stream.Position();
        if (ReadMolfile(stream, molecule) == MolfileStatus::End) break;
        if (stream.Position() == before) std::abort();
    }
    return 0;
}
