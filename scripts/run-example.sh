#!/usr/bin/env bash
# Installs what is needed, builds kiv, and runs the main job on the bundled example data: the
# example JCAMP-DX spectra are imported into a new library and the mass-spectral features of
# every spectrum are computed with the bundled definition file.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target kiv
rm -rf out/import-features
mkdir -p out
cp -r examples/import-features out/
cd out/import-features
status=0
../../build/kiv command.txt || status=$?
echo "kiv exit status: $status; end marker: $(tr -d '\r' < end-marker.txt)"
echo "Library:  $(pwd)/examples.ssd (and examples.ssi)"
echo "Features: $(pwd)/features-out.txt ($(grep -c . features-out.txt) lines)"
exit "$status"
