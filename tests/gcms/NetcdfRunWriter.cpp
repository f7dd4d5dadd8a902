#include "NetcdfRunWriter.h"

#ifdef KIV_HAVE_NETCDF
#include <netcdf.h>

#include <algorithm>
#include <random>

namespace kiv::test {

namespace {

bool DefineVariable(int file, const NcRun& run, const char* name, nc_type type, int dim, int& var)
{
    var = -1;
    return run.omit == name || nc_def_var(file, name, type, 1, &dim, &var) == NC_NOERR;
}

}  // namespace

bool WriteNcRun(const std::string& path, const NcRun& run)
{
    int file = 0, scans = 0, points = 0;
    if (nc_create(path.c_str(), NC_CLOBBER | (run.largeData ? NC_64BIT_DATA : 0), &file) != NC_NOERR) return false;
    nc_set_fill(file, NC_NOFILL, nullptr);
    // An empty run has no scans: its scan dimension is the (empty) unlimited one.
    const size_t pointLength = run.pointDimension > 0 ? run.pointDimension : std::max<size_t>(run.masses.size(), 1);
    int time = 0, first = 0, count = 0, mass = 0, intensity = 0;
    bool ok = nc_def_dim(file, "scan_number", run.times.size(), &scans) == NC_NOERR
              && nc_def_dim(file, "point_number", pointLength, &points) == NC_NOERR
              && DefineVariable(file, run, "scan_acquisition_time", NC_DOUBLE, scans, time)
              && DefineVariable(file, run, "scan_index", NC_INT, scans, first)
              && DefineVariable(file, run, "point_count", NC_INT, scans, count)
              && DefineVariable(file, run, "mass_values", NC_FLOAT, points, mass)
              && DefineVariable(file, run, "intensity_values", NC_FLOAT, points, intensity)
              && nc_enddef(file) == NC_NOERR;
    const size_t start = 0, n = run.times.size(), p = run.masses.size();
    if (ok && n > 0) {
        if (time >= 0) ok = ok && nc_put_vara_double(file, time, &start, &n, run.times.data()) == NC_NOERR;
        if (first >= 0) ok = ok && nc_put_vara_int(file, first, &start, &n, run.firstPoint.data()) == NC_NOERR;
        if (count >= 0) ok = ok && nc_put_vara_int(file, count, &start, &n, run.pointCount.data()) == NC_NOERR;
    }
    if (ok && p > 0) {
        if (mass >= 0) ok = ok && nc_put_vara_float(file, mass, &start, &p, run.masses.data()) == NC_NOERR;
        if (intensity >= 0) ok = ok && nc_put_vara_float(file, intensity, &start, &p, run.intensities.data()) == NC_NOERR;
    }
    return nc_close(file) == NC_NOERR && ok;
}

NcRun GeneratedRun()
{
    NcRun run;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> mass(30.0f, 550.0f), intensity(0.0f, 20000.0f);
    for (int s = 0; s < 3000; ++s) {
        run.times.push_back(120.0 + s * 0.437);
        run.firstPoint.push_back(static_cast<int>(run.masses.size()));
        const int count = s % 97 == 0 ? 0 : 5 + static_cast<int>(random() % 60);
        run.pointCount.push_back(count);
        for (int k = 0; k < count; ++k) {
            run.masses.push_back(mass(random));
            run.intensities.push_back(k % 11 == 3 ? 0.0f : intensity(random));
        }
    }
    return run;
}

}  // namespace kiv::test

#endif
