#!/usr/bin/env bash
# Agreement with a widely used JCAMP-DX reader (never run in CI): reads every file of the test
# corpus tests/data/jcamp with our importer and with the npm package jcampconverter, and compares
# per file the number of mass spectra and their peaks (masses, intensities in percent of the
# base peak within 0.01). Prints one line per file and a summary.
# Usage: bash bench/import/compare-corpus.sh [BUILD-DIR]   (BUILD-DIR configured with -DKIV_BENCH=ON)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${1:-$root/build-import-bench}"
work="${KIV_BENCH_WORK:-${TMPDIR:-/tmp}/kiv-import-bench}"
mkdir -p "$work"

[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKIV_BENCH=ON >/dev/null
cmake --build "$build" --target bench_import -j2 >/dev/null
if [ ! -d "$work/npm/node_modules/jcampconverter" ]; then
  mkdir -p "$work/npm"
  (cd "$work/npm" && npm init -y >/dev/null && npm install --no-audit --no-fund jcampconverter >/dev/null)
fi

files=("$root"/tests/data/jcamp/*)
"$build/bench/import/bench_import" dump "$work/corpus.ssd" "${files[@]}" > "$work/ours.jsonl"
(cd "$work/npm" && node "$here/jcampconverter-corpus.mjs" "${files[@]}") > "$work/peer.jsonl"
echo "jcampconverter version: $(cd "$work/npm" && node -p "require('./node_modules/jcampconverter/package.json').version")"

python3 - "$work/ours.jsonl" "$work/peer.jsonl" <<'PY'
import json, sys
ours = [json.loads(line) for line in open(sys.argv[1])]
peer = {entry["file"]: entry for entry in map(json.loads, open(sys.argv[2]))}
agree = 0
for mine in ours:
    other = peer[mine["file"]]
    name = mine["file"].rsplit("/", 1)[-1]
    a, b = mine["spectra"], other["spectra"]
    same_count = len(a) == len(b)
    same_peaks = same_count and all(
        len(p) == len(q) and all(round(pm) == round(qm) and abs(pi - qi) <= 0.011 for (pm, pi), (qm, qi) in zip(p, q))
        for p, q in zip(a, b))
    agree += same_peaks
    note = "agree" if same_peaks else ("peaks differ" if same_count else "spectra count differs")
    if other.get("error"):
        note += " (jcampconverter: " + other["error"][:60] + ")"
    print(f"{name:42s} ours {len(a):3d}  jcampconverter {len(b):3d}  {note}")
print(f"{agree} of {len(ours)} files agree")
PY
