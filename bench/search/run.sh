#!/usr/bin/env bash
# The evaluation benchmark: the vector-similarity evaluation of 1,000 test objects against a
# generated library of 100,000 spectra, on spectra ("Max Mass" 100) and on ~300 features, and
# the random feature-subset evaluation with the features read row by row and held in memory;
# then the same cosine top-100 search by numpy (on OpenBLAS) on the vectors already in memory.
# Installs its peer's packages itself; not part of CI.
set -euo pipefail
cd "$(dirname "$0")/../.."
records=${RECORDS:-100000}
tests=${TESTS:-1000}
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get install -y -qq python3-numpy libopenblas0-pthread libbenchmark-dev > /dev/null

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DKIV_BENCH=ON > /dev/null
cmake --build build-bench -j"$(nproc)" --target kiv generate_evaluation_data > /dev/null
data=$(pwd)/out/bench-evaluation
rm -rf "$data" && mkdir -p "$data"
build-bench/bench/search/generate_evaluation_data "$data" "$records" "$tests"
features=$(python3 -c "import os; print(os.path.getsize('$data/features.bin') // 4 // $records)")

run() {  # name, extra command-file lines
  local name=$1; shift
  printf 'BIB File = %s/lib.ssd\nDescriptor File = %s/desc.txt\nTest Index File = %s/tests.txt\nResult File = %s/%s.txt\nNo Hits = 100\nProgress File = %s/progress.txt\nSem End File = %s/end.txt\nStop File = %s/stop.txt\n' \
    "$data" "$data" "$data" "$data" "$name" "$data" "$data" "$data" > "$data/$name.cmd"
  printf '%s\n' "$@" >> "$data/$name.cmd"
  local start end
  start=$(date +%s.%N)
  build-bench/kiv "$data/$name.cmd"
  end=$(date +%s.%N)
  python3 -c "print(f'kiv {\"$name\":24s} {$end - $start:8.3f} s')"
}
run spectra "Max Mass = 100"
run features "Feature File = $data/features.def"
run subset-file "Feature File = $data/features.def" "Select Features = $features" "Features Ram = 0"
run subset-ram "Feature File = $data/features.def" "Select Features = $features" "Features Ram = 1"
/usr/bin/python3 bench/search/numpy_peer.py "$data" spectra
/usr/bin/python3 bench/search/numpy_peer.py "$data" features "$features"
