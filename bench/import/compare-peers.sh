#!/usr/bin/env bash
# Import benchmark with peers (never run in CI): builds the importer optimised, generates a
# JCAMP-DX file of peak tables, one of compressed continuous spectra and an SD file of COUNT
# records (default 100000), times our JCAMP-DX import and SD reading, then the same files with
# the npm package jcampconverter under node and with RDKit's SD reader without sanitisation
# (Debian's python3-rdkit), and prints the ratios. The JCAMP-DX files are timed in ROUNDS
# rounds of ours then the peer, each round giving a ratio, and the median is reported.
# Usage: [ROUNDS=3] bash bench/import/compare-peers.sh [COUNT]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
count="${1:-100000}"
work="${KIV_BENCH_WORK:-${TMPDIR:-/tmp}/kiv-import-bench}"
build="$root/build-import-bench"
mkdir -p "$work"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKIV_TESTS=OFF -DKIV_BENCH=ON >/dev/null
cmake --build "$build" --target bench_import -j2 >/dev/null
cp "$build/bench/import/bench_import" "$work/bench_import"

[ -f "$work/bench-$count.jdx" ] || "$work/bench_import" generate-jcamp "$work/bench-$count.jdx" "$count"
[ -f "$work/bench-continuous-$count.jdx" ] ||
  "$work/bench_import" generate-continuous "$work/bench-continuous-$count.jdx" "$count"
[ -f "$work/bench-$count.sdf" ] || "$work/bench_import" generate-sd "$work/bench-$count.sdf" "$count"

seconds_of() { sed -n 's/.* in \([0-9.]*\) s:.*/\1/p' | head -1; }

if [ ! -d "$work/npm/node_modules/jcampconverter" ]; then
  mkdir -p "$work/npm"
  (cd "$work/npm" && npm init -y >/dev/null && npm install --no-audit --no-fund jcampconverter >/dev/null)
fi
echo "jcampconverter $(cd "$work/npm" && node -p "JSON.parse(require('fs').readFileSync('node_modules/jcampconverter/package.json', 'utf8')).version") under node $(node --version)"

# Ours and the peer one after the other, ROUNDS times (default 3): on a shared machine the two of
# a round see the same load, so the ratio of each round and their median say more than one run.
rounds="${ROUNDS:-3}"
compare_jcamp() {
  local name="$1" file="$2" ratios=()
  for ((round = 1; round <= rounds; ++round)); do
    local ours peer a b
    ours="$("$work/bench_import" jcamp "$file" "$work/bench.ssd")"
    peer="$(cd "$work/npm" && node --max-old-space-size=8192 "$here/jcampconverter-peer.mjs" "$file")"
    a="$(echo "$ours" | seconds_of)"
    b="$(echo "$peer" | sed -n 's/^seconds=//p')"
    echo "$ours"
    echo "$peer" | head -1
    ratios+=("$(awk -v a="$b" -v b="$a" 'BEGIN { printf "%.1f", a / b }')")
  done
  echo "$name: jcampconverter time / ours per round: ${ratios[*]}; median $(printf '%s\n' "${ratios[@]}" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }') x"
}

echo "== JCAMP-DX peak tables"
compare_jcamp "JCAMP-DX peak tables" "$work/bench-$count.jdx" | tee "$work/peaks-ratios.txt"
echo "== JCAMP-DX compressed continuous spectra"
compare_jcamp "JCAMP-DX continuous" "$work/bench-continuous-$count.jdx" | tee "$work/continuous-ratios.txt"

echo "== ours, SD file"
ours_sd="$("$work/bench_import" sd "$work/bench-$count.sdf" "$work/bench-structures.ssd")"
echo "$ours_sd"

echo "== RDKit"
if ! /usr/bin/python3 -c 'import rdkit' 2>/dev/null; then
  if [ "$(id -u)" = 0 ]; then sudo=""; else sudo="sudo"; fi
  $sudo apt-get install -y python3-rdkit >/dev/null
fi
peer_sd="$(/usr/bin/python3 "$here/rdkit-peer.py" "$work/bench-$count.sdf")"
echo "$peer_sd" | head -1
echo "RDKit version: $(/usr/bin/python3 -c 'import rdkit; print(rdkit.__version__)')"

ours_s="$(echo "$ours_sd" | head -1 | seconds_of)"
peer_s="$(echo "$peer_sd" | sed -n 's/^seconds=//p')"
echo "== ratios (peer time / our time)"
tail -1 "$work/peaks-ratios.txt"
tail -1 "$work/continuous-ratios.txt"
awk -v a="$peer_s" -v b="$ours_s" 'BEGIN { printf "SD file: RDKit %.3f s / ours %.3f s = %.1f x\n", a, b, a / b }'
