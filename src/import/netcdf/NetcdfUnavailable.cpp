// The netCDF run import of a build made without the netCDF C library.
#include "import/netcdf/NetcdfImport.h"

#include "base/Format.h"
#include "base/Reporter.h"

namespace kiv {

bool ImportNetcdf(CBib&, const std::string& path)
{
    ReportRunTimeError(Format("netCDF file %s: this build cannot read netCDF files", path.c_str()));
    return false;
}

}  // namespace kiv
