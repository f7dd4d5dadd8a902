#!/usr/bin/env bash
# The chemometrics benchmark: PCA of a 5,000 x 500 matrix and PLS of it against 50 properties,
# by kiv (Google Benchmark, bench_chemometrics) and by numpy on OpenBLAS on the same matrices;
# prints the ratio of the times. Installs its peer's packages itself; not part of CI.
set -euo pipefail
cd "$(dirname "$0")/../.."
objects=${KIV_BENCH_OBJECTS:-5000}
features=${KIV_BENCH_FEATURES:-500}
properties=${KIV_BENCH_PROPERTIES:-50}
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get install -y -qq python3-numpy libopenblas0-pthread libbenchmark-dev > /dev/null

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DKIV_BENCH=ON > /dev/null
cmake --build build-bench -j"$(nproc)" --target bench_chemometrics > /dev/null
data=$(pwd)/out/bench-chemometrics
rm -rf "$data" && mkdir -p "$data"
export KIV_BENCH_DIR=$data KIV_BENCH_OBJECTS=$objects KIV_BENCH_FEATURES=$features KIV_BENCH_PROPERTIES=$properties
build-bench/bench/chemometrics/bench_chemometrics --benchmark_format=csv 2> /dev/null | tee "$data/kiv.csv"
/usr/bin/python3 bench/chemometrics/numpy_peer.py "$data" "$objects" "$features" "$properties" | tee "$data/numpy.txt"
/usr/bin/python3 - "$data" <<'PY'
import csv, sys
folder = sys.argv[1]
kiv = {}
for row in csv.reader(open(f"{folder}/kiv.csv")):
    if row and row[0].startswith(("Pca", "Pls")):
        kiv[row[0].split("/")[0]] = float(row[2])  # real time in ms
for line in open(f"{folder}/numpy.txt"):
    parts = line.split()
    name, wall = parts[1], float(parts[2])
    print(f"{name}: kiv {kiv[name]:.1f} ms, numpy {wall:.1f} ms, ratio {kiv[name] / wall:.2f}")
PY
