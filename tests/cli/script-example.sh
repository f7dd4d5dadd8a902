#!/usr/bin/env bash
# The README's example script, run headless as the README says, and the outputs it promises.
set -u
kiv="$1"
root="$2"
source "$(dirname "$0")/check.sh"

# The README shows the script file itself, line for line.
check "README holds the example script" python3 - "$root/README.md" "$root/examples/script/example-script.txt" <<'PY'
import sys
readme, script = open(sys.argv[1]).read(), open(sys.argv[2]).read()
sys.exit(0 if script.strip() in readme else 1)
PY

cp "$root/examples/script/example-script.txt" "$root/examples/import-features/spectra/oxygenates.jdx" \
   "$root/examples/import-features/features.txt" "$dir/"
(cd "$dir" && "$kiv" --script example-script.txt > log.txt 2> err.txt); status=$?
check "every task ran: exit status 0" test "$status" -eq 0
check "no error on standard error" test ! -s "$dir/err.txt"
check "library of the four spectra" grep -q "^4 spectra imported.$" "$dir/log.txt"
check "CDM features of every spectrum" grep -q "^38 features written for 4 spectra$" "$dir/log.txt"
check "hitlist of the library against itself: the identical hit left out, spectrum 4 first for spectrum 1" \
  bash -c "grep -A2 '^Unknown 1 RN: 1' '$dir/hits.txt' | tr -d '\r' | tail -1 | grep -q '^       4	0.929141$'"
check "four score rows of four components" bash -c "test \$(grep -c . '$dir/scores.txt') -eq 4 && awk '{ if (NF != 4) exit 1 }' '$dir/scores.txt'"
check "status lines and the end of the script" bash -c "grep -q '^Status: PCA done' '$dir/log.txt' && tail -1 '$dir/log.txt' | grep -q '^Status: Task finished.$'"

printf 'DO: NoSuchCommand\r\n' > "$dir/bad-script.txt"
"$kiv" --script "$dir/bad-script.txt" > /dev/null; status=$?
check "an unknown task: exit status 1" test "$status" -eq 1
"$kiv" --script "$dir/missing-script.txt" > "$dir/out.txt"; status=$?
check "a missing script: exit status 1 and Script Error." bash -c "test $status -eq 1 && grep -q 'Status: Script Error.' '$dir/out.txt'"
check "--script --list names every command once" bash -c "'$kiv' --script --list | sed 's/(.*//' | sort | uniq -d | wc -l | grep -qx 0"

finish
