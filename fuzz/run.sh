#!/bin/sh
# Builds the fuzz harnesses of fuzz/ (clang, libFuzzer, AddressSanitizer, UBSan) in a CMake build
# of their own, makes the seed corpora and runs the harnesses one after the other, one process
# at a time.
#   fuzz/run.sh [executions] [seconds] [harness...]
# executions: inputs per harness (default 20000; -1 no limit); seconds: time per harness at most
# (default 60; 0 no limit); harness: names such as fuzz_cdm (default: every harness).
# CI runs a short fixed number of executions; a long run is e.g. `fuzz/run.sh -1 3600` (an hour
# per harness). Every input may use at most 2 GB and 10 s, so over-allocation and hangs are
# findings too. The build lives in $KIV_FUZZ_BUILD (default build-fuzzers beside this folder):
# corpora grow in corpus/<harness>, findings (crash-*, leak-*, oom-*, timeout-*) land in
# findings/<harness>, libFuzzer's output in logs/<harness>.log. One summary line per harness
# gives executions, coverage (cov: edges, ft: features) and the outcome; the exit status is 1
# when any harness found something.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${KIV_FUZZ_BUILD:-$root/build-fuzzers}
runs=${1:-20000}
seconds=${2:-60}
[ $# -gt 0 ] && shift
[ $# -gt 0 ] && shift

CXX=${CXX_FUZZ:-clang++-14} cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DKIV_FUZZ=ON -DKIV_TESTS=OFF > /dev/null
cmake --build "$out" -j"$(nproc)" --target fuzzers > "$out/build.log" 2>&1 || { cat "$out/build.log"; exit 2; }
"$out/fuzz/make_seeds" "$out/seeds"
[ ! -x "$out/fuzz/make_netcdf_seeds" ] || "$out/fuzz/make_netcdf_seeds" "$out/seeds/netcdf"

# Seed folders of a harness besides its own growing corpus: what make_seeds wrote, the
# handwritten inputs of fuzz/seeds, and example files of the project.
seed_folders() {
    name=${1#fuzz_}
    for folder in "$out/seeds/$name" "$root/fuzz/seeds/$name"; do
        [ -d "$folder" ] && echo "$folder"
    done
    case $name in
        jcamp | jcamp_parallel) echo "$root/examples/import-features/spectra"; [ -d "$root/tests/data/jcamp" ] && echo "$root/tests/data/jcamp" ;;
        features | command_file) echo "$root/examples" ;;
        msp) echo "$root/tests/data/msp" ;;
    esac
    return 0
}

harnesses=${*:-$(cd "$out/fuzz" && ls fuzz_* | sort)}
mkdir -p "$out/logs"
failed=0
for harness in $harnesses; do
    mkdir -p "$out/corpus/$harness" "$out/findings/$harness"
    log="$out/logs/$harness.log"
    status=found
    # shellcheck disable=SC2046
    "$out/fuzz/$harness" -runs="$runs" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$out/findings/$harness/" \
        "$out/corpus/$harness" $(seed_folders "$harness") > "$log" 2>&1 && status=clean
    [ $status = clean ] || failed=1
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1)
    echo "$harness: ${executions:-?} executions, ${coverage:-no coverage line}, $status"
    [ $status = clean ] || grep -m1 -A3 'ERROR\|==ERROR\|deadly signal\|out-of-memory\|timeout' "$log" || true
done
exit $failed
