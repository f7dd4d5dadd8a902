// Writes the seed runs of the netCDF harness into FOLDER with the netCDF library: two scans in
// the classic format, the same run in the 64-bit data format, and a run without scans.
#include <cstdio>
#include <filesystem>

#include "NetcdfRunWriter.h"

using kiv::test::NcRun;
using kiv::test::WriteNcRun;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_netcdf_seeds FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    NcRun run;
    run.times = {60.0, 90.0};
    run.firstPoint = {0, 2};
    run.pointCount = {2, 3};
    run.masses = {43.0f, 58.1f, 43.0f, 44.0f, 91.0f};
    run.intensities = {1000.0f, 250.0f, 500.0f, 0.0f, 20.0f};
    NcRun large = run;
    large.largeData = true;
    const bool written = WriteNcRun((folder / "two-scans.cdf").string(), run)
                         && WriteNcRun((folder / "two-scans-cdf5.cdf").string(), large)
                         && WriteNcRun((folder / "no-scans.cdf").string(), NcRun{});
    return written ? 0 : 1;
}
