#!/usr/bin/env bash
# Import benchmark with peers (never run in CI): builds the importer optimised, generates a
# JCAMP-DX file of peak tables, one of compressed continuous spectra and an SD file of COUNT
# records (default 100000), times our JCAMP-DX import and SD reading, then the same files with
# the npm package jcampconverter under node and with RDKit's SD reader without sanitisation
# (Debian's python3-rdkit), and prints the ratios.
# Usage: bash bench/import/compare-peers.sh [COUNT]
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

echo "== ours"
ours_jcamp="$("$work/bench_import" jcamp "$work/bench-$count.jdx" "$work/bench.ssd")"
echo "$ours_jcamp"
ours_continuous="$("$work/bench_import" jcamp "$work/bench-continuous-$count.jdx" "$work/bench.ssd")"
echo "$ours_continuous"
ours_sd="$("$work/bench_import" sd "$work/bench-$count.sdf" "$work/bench-structures.ssd")"
echo "$ours_sd"

echo "== jcampconverter (node $(node --version))"
if [ ! -d "$work/npm/node_modules/jcampconverter" ]; then
  mkdir -p "$work/npm"
  (cd "$work/npm" && npm init -y >/dev/null && npm install --no-audit --no-fund jcampconverter >/dev/null)
fi
peer_jcamp="$(cd "$work/npm" && node --max-old-space-size=8192 "$here/jcampconverter-peer.mjs" "$work/bench-$count.jdx")"
echo "$peer_jcamp" | head -1
peer_continuous="$(cd "$work/npm" && node --max-old-space-size=8192 "$here/jcampconverter-peer.mjs" "$work/bench-continuous-$count.jdx")"
echo "$peer_continuous" | head -1
echo "jcampconverter version: $(cd "$work/npm" && node -p "JSON.parse(require('fs').readFileSync('node_modules/jcampconverter/package.json', 'utf8')).version")"

echo "== RDKit"
if ! /usr/bin/python3 -c 'import rdkit' 2>/dev/null; then
  if [ "$(id -u)" = 0 ]; then sudo=""; else sudo="sudo"; fi
  $sudo apt-get install -y python3-rdkit >/dev/null
fi
peer_sd="$(/usr/bin/python3 "$here/rdkit-peer.py" "$work/bench-$count.sdf")"
echo "$peer_sd" | head -1
echo "RDKit version: $(/usr/bin/python3 -c 'import rdkit; print(rdkit.__version__)')"

ours_j="$(echo "$ours_jcamp" | seconds_of)"
ours_c="$(echo "$ours_continuous" | seconds_of)"
peer_c="$(echo "$peer_continuous" | sed -n 's/^seconds=//p')"
ours_s="$(echo "$ours_sd" | head -1 | seconds_of)"
peer_j="$(echo "$peer_jcamp" | sed -n 's/^seconds=//p')"
peer_s="$(echo "$peer_sd" | sed -n 's/^seconds=//p')"
echo "== ratios (peer time / our time)"
awk -v a="$peer_j" -v b="$ours_j" 'BEGIN { printf "JCAMP-DX: jcampconverter %.3f s / ours %.3f s = %.1f x\n", a, b, a / b }'
awk -v a="$peer_c" -v b="$ours_c" 'BEGIN { printf "JCAMP-DX continuous: jcampconverter %.3f s / ours %.3f s = %.1f x\n", a, b, a / b }'
awk -v a="$peer_s" -v b="$ours_s" 'BEGIN { printf "SD file: RDKit %.3f s / ours %.3f s = %.1f x\n", a, b, a / b }'
