#!/usr/bin/env bash
# The layering check passes on a small tree that keeps to its levels and fails, naming the file
# and line, once a lower room includes a higher one.
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/src/base" "$tree/src/library" "$tree/src/batch"
printf 'base 1\nlibrary 3\nbatch 6\n' > "$tree/src/rooms.txt"
printf '#include "base/Format.h"\n' > "$tree/src/library/Bib.cpp"
printf '#include "library/Bib.h"\n#include <vector>\n' > "$tree/src/batch/Task.cpp"
bash "$check" "$tree" > /dev/null || { echo "FAIL: a tree that keeps its levels was refused"; exit 1; }

printf '#include "base/Format.h"\n#include "batch/Task.h"\n' > "$tree/src/library/Bib.cpp"
if output=$(bash "$check" "$tree" 2>&1); then
    echo "FAIL: an upward include passed the check"; exit 1
fi
case "$output" in
    *"src/library/Bib.cpp:2: library (level 3) includes batch/Task.h (level 6)"*) ;;
    *) echo "FAIL: unexpected report: $output"; exit 1 ;;
esac
echo "layering check: 2 passed, 0 failed"
