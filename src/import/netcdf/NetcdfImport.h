#pragma once
// GC-MS runs in netCDF files of the common analytical data interchange layout for mass
// spectrometry: per scan its acquisition time (seconds), the index of its first point and its
// point count; per point a mass and an intensity. The run becomes an in-memory library with one
// record per scan, its retention time in minutes as the JC importer stores it.
#include <string>

#include "library/Bib.h"

namespace kiv {

// Title = the file name without folder and extension, Typ "GC-MS"; the header vector holds the
// TIC of every scan. A file that cannot be read, misses one of the variables "scan_acquisition_time",
// "scan_index", "point_count", "mass_values", "intensity_values", has counts that disagree or a
// scan whose points run past the end is reported (with the file and the variable or scan) and
// ends the import; the scans before stay. Without the netCDF library in the build every file is
// refused with a message. False after any failure.
bool ImportNetcdf(CBib& bib, const std::string& path);

}  // namespace kiv
