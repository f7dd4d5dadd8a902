# Shared by the command-line tests: a scratch folder removed at exit, and check, which runs a
# command, prints "ok:" or "FAILED:" with its description and counts both.
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
passed=0
failures=0
check() {  # description, command...
  local what="$1"; shift
  if "$@"; then echo "ok: $what"; passed=$((passed + 1)); else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
# The closing line a test runner reads, and the exit status.
finish() {
  echo "$passed passed, $failures failed"
  [ "$failures" -eq 0 ]
}
