#!/usr/bin/env bash
# The kiv program as a driving program sees it: exit status, standard error and the end marker.
set -u
kiv="$1"
source "$(dirname "$0")/check.sh"

"$kiv" > /dev/null 2> "$dir/usage.txt"; status=$?
check "no argument prints the usage and exits with 2" test "$status" -eq 2
check "usage text" grep -q "Usage: kiv COMMAND-FILE" "$dir/usage.txt"
check "--version" bash -c "'$kiv' --version | grep -q '^kiv [0-9]'"
check "--help exits with 0" "$kiv" --help > /dev/null

printf '// only a comment\r\n\r\nProgress File = %s/progress.txt\r\nSem End File = %s/end.txt\r\n' "$dir" "$dir" > "$dir/cmd.txt"
"$kiv" "$dir/cmd.txt" 2> "$dir/err.txt"; status=$?
check "no task: exit status 1" test "$status" -eq 1
check "no task: message on standard error" grep -q "No task recognized!" "$dir/err.txt"
check "no task: end marker with CR LF" bash -c "printf 'Command file not recognized!\r\n' | cmp -s - '$dir/end.txt'"

"$kiv" "$dir/missing.txt" 2> "$dir/err.txt"; status=$?
check "missing command file: exit status 2" test "$status" -eq 2
check "missing command file: message" grep -q "Invalid command file name $dir/missing.txt!" "$dir/err.txt"

printf 'Result File = %s/none.txt\r\nSem End File = %s/end.txt\r\nProgress File = %s/p.txt\r\n' "$dir" "$dir" "$dir" > "$dir/cmd.txt"
"$kiv" "$dir/cmd.txt"; status=$?
check "hit statistics: exit status 0 and end marker 1" bash -c "test $status -eq 0 && printf '1\r\n' | cmp -s - '$dir/end.txt'"

printf '##TITLE=one\r\n##NPOINTS=2\r\n##PEAK TABLE=(XY..XY)\r\n10, 0\r\n41, 50\r\n##END=\r\n' > "$dir/one.jdx"
printf 'Import JCAMP = %s/one.jdx\r\n%s/missing.jdx\r\nBIB File = %s/lib.ssd\r\nSem End File = %s/end.txt\r\nProgress File = %s/p.txt\r\n' \
  "$dir" "$dir" "$dir" "$dir" "$dir" > "$dir/cmd.txt"
"$kiv" "$dir/cmd.txt" > "$dir/out.txt" 2> "$dir/err.txt"; status=$?
check "import with a missing input: exit status 4, end marker 1" bash -c "test $status -eq 4 && printf '1\r\n' | cmp -s - '$dir/end.txt'"
check "import: the missing file on standard error, the spectra per file on standard output" \
  bash -c "grep -q 'Error opening $dir/missing.jdx' '$dir/err.txt' && grep -q 'one.jdx: 1 spectra' '$dir/out.txt'"

finish
