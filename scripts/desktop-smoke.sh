#!/usr/bin/env bash
# The desktop program under a virtual X server: imports the example spectra into a library with
# the batch program, opens the library in kiv-desktop, renders the window into a PNG and checks
# that the picture exists and is not trivial (a real window is several kilobytes).
# usage: desktop-smoke.sh KIV KIV-DESKTOP
set -euo pipefail
kiv=$(realpath "$1")
desktop=$(realpath "$2")
examples=$(realpath "$(dirname "$0")/../examples/import-features")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$examples"/. "$work"/
cd "$work"
"$kiv" command-import.txt > /dev/null
test -s examples-lib.ssd
xvfb-run -a "$desktop" examples-lib.ssd --page-setup 2 --record 2 --screenshot "$work/window.png"
size=$(stat -c %s "$work/window.png")
if [ "$size" -lt 5000 ]; then
  echo "desktop-smoke: window.png has only $size bytes" >&2
  exit 1
fi
echo "desktop-smoke: window.png written ($size bytes)"
