#pragma once
// Helpers of the import tests: run an import into a new library and read the library back.
#include <string>
#include <vector>

#include "import/TextImport.h"
#include "library/Bib.h"

namespace kiv::test {

struct ReadBack {
    CBibHeader header;
    std::vector<CBibRecord> blocks;  // spectra exactly as stored (no mass cut, no normalising)
};

// Every block of the library at ssdPath.
ReadBack ReadLibrary(const std::string& ssdPath);

// Starts a new library at ssdPath, imports the files with the format and reads the result back.
ReadBack ImportAndRead(const std::vector<std::string>& files, TextImportFormat format, const std::string& ssdPath,
                       ImportOutcome* outcome = nullptr);

// Mass and intensity of peak j (1-based) of a stored spectrum.
double Mass(const CBibRecord& record, int j);
double Intensity(const CBibRecord& record, int j);

}  // namespace kiv::test
