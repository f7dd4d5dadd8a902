// Fuzz target: arbitrary bytes imported as a netCDF GC-MS run into an in-memory library. The
// seeds (make_netcdf_seeds) are small runs in the classic formats; besides crashes, hangs and
// over-allocation, every scan the reader keeps must lie within the bytes the file holds.
#include <cstdint>
#include <cstdlib>

#include "FuzzFiles.h"
#include "import/netcdf/NetcdfImport.h"

using namespace kiv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CBib bib;
    ImportNetcdf(bib, fuzz::WriteScratchFile("input.cdf", data, size));
    for (const CMassSpectrum& scan : bib.memorySpectra) {
        if (scan.peaks.Cols() > static_cast<int>(size)) std::abort();
    }
    return 0;
}
