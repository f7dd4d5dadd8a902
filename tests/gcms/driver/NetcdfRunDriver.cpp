// Writes the generated netCDF run into a folder and, beside it, what kiv imports from it: one
// line "time count ibase tic" per scan, then "mass intensity" per peak. netcdf_check.py compares
// that with what Python's netCDF4 module reads. Exits 77 (skip) in a build without netCDF.
#include <cstdio>
#include <string>

#include "NetcdfRunWriter.h"
#include "base/TextFile.h"
#include "import/netcdf/NetcdfImport.h"

int main(int argc, char** argv)
{
#ifdef KIV_HAVE_NETCDF
    if (argc != 2) {
        std::fprintf(stderr, "usage: netcdf_run_driver FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::string path = folder + "/generated.cdf";
    if (!kiv::test::WriteNcRun(path, kiv::test::GeneratedRun())) return 1;
    kiv::CBib bib;
    if (!kiv::ImportNetcdf(bib, path)) return 1;
    kiv::CTextWriter out;
    if (!out.Open(folder + "/kiv.txt")) return 1;
    for (const kiv::CMassSpectrum& s : bib.memorySpectra) {
        out.Print("%.9f %d %u %d\n", s.retentionTime, s.count, s.basePeakIntensity, s.tic);
        for (int k = 1; k <= s.peaks.Cols(); ++k) out.Print("%.6f %.9f\n", s.peaks.Get(1, k), s.peaks.Get(2, k));
    }
    return 0;
#else
    (void)argc;
    (void)argv;
    return 77;
#endif
}
