// Fuzz target: arbitrary bytes read by one of the in-memory importers. Built once per reader:
// FUZZ_MEMORY_IMPORT is Jc, CosCalib or MassLib.
#include <cstdint>

#include "FuzzFiles.h"
#include "import/MemoryImport.h"

using namespace kiv;

namespace {

enum class Reader { Jc, CosCalib, MassLib };
constexpr Reader kReader = Reader::FUZZ_MEMORY_IMPORT;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input = fuzz::WriteScratchFile("input.cop", data, size);
    CBib bib;
    switch (kReader) {
    case Reader::Jc: ImportJc(bib, input); break;
    case Reader::CosCalib: ImportCosCalib(bib, {input}); break;
    case Reader::MassLib: ImportMassLib(bib, {input}); break;
    }
    return 0;
}
