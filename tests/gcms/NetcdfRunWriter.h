#pragma once
// Writes GC-MS runs as netCDF files with the netCDF library itself, for the import tests and the
// comparison with Python's netCDF4 module. Only built with the netCDF library.
#include <cstddef>
#include <string>
#include <vector>

namespace kiv::test {

struct NcRun {
    std::vector<double> times;  // seconds
    std::vector<int> firstPoint;
    std::vector<int> pointCount;
    std::vector<float> masses;
    std::vector<float> intensities;
    std::string omit = {};  // a variable left out of the file
    size_t pointDimension = 0;  // 0: the number of points given (at least 1)
    bool largeData = false;  // the 64-bit data format, for dimensions beyond 2^31 - 1 bytes
};

// False when the library refused a step.
bool WriteNcRun(const std::string& path, const NcRun& run);

// 3,000 scans of 5 to 64 points (every 97th scan empty, some zero intensities), reproducible.
NcRun GeneratedRun();

}  // namespace kiv::test
