#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite twice: in the optimised build
# and in a build with AddressSanitizer and UndefinedBehaviorSanitizer. KIV_WERROR=ON in the
# environment turns compiler warnings into errors (CI does).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKIV_WERROR="${KIV_WERROR:-OFF}"
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DKIV_SANITIZE=ON -DKIV_WERROR="${KIV_WERROR:-OFF}"
cmake --build build-sanitize -j"$jobs"
ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
