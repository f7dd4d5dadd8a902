#!/usr/bin/env bash
# Installs what is needed, builds kiv, and runs it on the bundled example: the hit statistics of
# an earlier similarity-search evaluation.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target kiv
rm -rf out/hit-statistics
mkdir -p out
cp -r examples/hit-statistics out/
cd out/hit-statistics
status=0
../../build/kiv command.txt || status=$?
echo "kiv exit status: $status; end marker: $(tr -d '\r' < end-marker.txt)"
echo "Result: $(pwd)/eval_c.txt"
echo "Similarity bins that hold hits:"
tr -d '\r' < eval_c.txt | awk 'NR == 1 || $5 + $6 + $7 > 0'
