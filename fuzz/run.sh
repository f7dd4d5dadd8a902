#!/bin/sh
# Builds the library fuzzer with clang's libFuzzer (plus AddressSanitizer and UBSan) and runs it.
#   fuzz/run.sh [executions] [extra libFuzzer options...]
# Default: 100000 executions. The build goes to $KIV_FUZZ_BUILD (default build-fuzz beside this
# folder); the corpus grows in its corpus/ subfolder and is seeded with generated libraries.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${KIV_FUZZ_BUILD:-$root/build-fuzz}
runs=${1:-100000}
[ $# -gt 0 ] && shift
cxx=${CXX_FUZZ:-clang++-14}
flags="-std=c++20 -g -O1 -fno-omit-frame-pointer -I$root/src -Wall -Wextra"
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined"
mkdir -p "$out/obj" "$out/corpus"

sources="$root/src/base/*.cpp $root/src/matrix/*.cpp $root/src/chem/*.cpp
         $root/src/library/*.cpp $root/src/settings/*.cpp"
objects=""
for src in $sources; do
    obj="$out/obj/$(echo "${src#$root/}" | tr / _).o"
    if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find "$root/src" -name '*.h' -newer "$obj" | head -1)" ]; then
        $cxx $flags $sanitize -fsanitize=fuzzer-no-link -c "$src" -o "$obj"
    fi
    objects="$objects $obj"
done
$cxx $flags $sanitize -fsanitize=fuzzer "$root/fuzz/BibFuzzer.cpp" $objects -o "$out/bib_fuzzer"
$cxx $flags $sanitize "$root/fuzz/MakeSeeds.cpp" $objects -o "$out/make_seeds"
"$out/make_seeds" "$out/corpus"

"$out/bib_fuzzer" -runs="$runs" -max_len=65536 -print_final_stats=1 "$@" "$out/corpus"
