#pragma once
// The batch import of a netCDF GC-MS run ("Import NETCDF"): the run read into memory and written
// as the library named by "BIB File".
#include <string>
#include <vector>

#include "import/TextImport.h"
#include "library/Bib.h"

namespace kiv {

// A library holds one run: the first input file is imported (further files are reported and
// left out). The library is written only when the whole run was read, so a damaged file never
// replaces an existing library. The library object is closed afterwards.
ImportOutcome ImportNetcdfLibrary(CBib& bib, const std::vector<std::string>& inputFiles, const std::string& bibFile);

}  // namespace kiv
