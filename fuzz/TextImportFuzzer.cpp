// Fuzz target: arbitrary bytes imported as a spectrum text file into a new library. Built once
// per format: FUZZ_IMPORT_FORMAT is TextImportFormat::Jcamp, TextImportFormat::Table or TextImportFormat::Transpec.
#include <cstdint>

#include "FuzzFiles.h"
#include "import/TextImport.h"

using namespace kiv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input = fuzz::WriteScratchFile("input.txt", data, size);
    CBib bib;
    if (!bib.NewLibrary("fuzz", "MS", fuzz::ScratchPath("import.ssd"))) return 0;
    ImportTextFiles(bib, {input}, FUZZ_IMPORT_FORMAT);
    return 0;
}
