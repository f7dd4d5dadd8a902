#!/usr/bin/env python3
"""Runs the netCDF run driver (argument 1), which writes a generated GC-MS run and what kiv
imported from it (one line "time count ibase tic" per scan, then "mass intensity" per peak), reads
the run with the netCDF4 module and checks the import: times in minutes, points with positive
values only, intensities in percent of the base peak, base peak and TIC rounded to integers.
Exits 77 (skipped) without the netCDF4 module or a driver built without netCDF."""
import math
import subprocess
import sys
import tempfile

try:
    import netCDF4
except ImportError:
    sys.exit(77)


def expected_scans(path):
    with netCDF4.Dataset(path) as run:
        times = run.variables["scan_acquisition_time"][:]
        first = run.variables["scan_index"][:]
        counts = run.variables["point_count"][:]
        masses = run.variables["mass_values"][:]
        intensities = run.variables["intensity_values"][:]
        for t, f, n in zip(times, first, counts):
            points = [(float(m), float(v)) for m, v in zip(masses[f:f + n], intensities[f:f + n]) if m > 0 and v > 0]
            largest = max((v for _, v in points), default=0.0)
            total = sum(v for _, v in points)
            relative = [(m, v * 100.0 / largest) for m, v in points]
            yield float(t) / 60.0, math.floor(largest + 0.5), math.floor(total + 0.5), relative


def kiv_scans(path):
    with open(path, newline="") as text:
        lines = text.read().split("\r\n")
    position = 0
    while position < len(lines) and lines[position]:
        t, n, ibase, tic = lines[position].split()
        n = int(n)
        peaks = [tuple(map(float, line.split())) for line in lines[position + 1:position + 1 + n]]
        position += 1 + n
        yield float(t), int(ibase), int(tic), peaks


def main():
    with tempfile.TemporaryDirectory() as folder:
        driver = subprocess.run([sys.argv[1], folder])
        if driver.returncode != 0:
            sys.exit(driver.returncode)
        expected = list(expected_scans(folder + "/generated.cdf"))
        got = list(kiv_scans(folder + "/kiv.txt"))
    if len(expected) != 3000 or len(expected) != len(got):
        sys.exit(f"{len(got)} scans imported, {len(expected)} in the file")
    for scan, (e, g) in enumerate(zip(expected, got), 1):
        if abs(e[0] - g[0]) > 1e-9 or e[1] != g[1] or e[2] != g[2] or len(e[3]) != len(g[3]):
            sys.exit(f"scan {scan}: expected {e[:3]} with {len(e[3])} peaks, got {g[:3]} with {len(g[3])}")
        for (em, ev), (gm, gv) in zip(e[3], g[3]):
            if abs(em - gm) > 1e-5 or abs(ev - gv) > 1e-7:
                sys.exit(f"scan {scan}: peak {em} {ev} imported as {gm} {gv}")
    print(f"{len(got)} scans agree")


if __name__ == "__main__":
    main()
