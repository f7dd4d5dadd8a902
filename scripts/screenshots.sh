#!/usr/bin/env bash
# The README's pictures of the desktop, made with the screenshot mode of kiv-desktop under a
# virtual X server from the bundled example data (the script example builds a library, its
# features, a hitlist and a PCA; the example GC-MS run gives the chromatogram).
# usage: screenshots.sh KIV-DESKTOP [OUTPUT-FOLDER]   (default docs/images)
set -euo pipefail
root=$(realpath "$(dirname "$0")/..")
desktop=$(realpath "$1")
out=$(realpath -m "${2:-$root/docs/images}")
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/examples/script/example-script.txt" "$root/examples/import-features/spectra/oxygenates.jdx" \
   "$root/examples/import-features/features.txt" "$root/examples/gcms/gcms-run.jdx" "$work"/
cd "$work"
# The feature-matrix picture lists the data matrix X (the features of every spectrum).
{ cat example-script.txt; printf 'DO: ShowXData\r\n'; } > show-script.txt
# The chromatogram picture: the example GC-MS run (451 scans) imported as a library and loaded as
# the run; the scan shown lies on the largest peak.
printf 'DO: ImporttoBIBDatabase(gcms-run.jdx)\r\nDO: LoadBIB(gcms-run.ssd)\r\n' > run-script.txt
shot() {  # name, script, options...
  local name=$1 script=$2
  shift 2
  xvfb-run -a "$desktop" --script "$script" --size 1000x800 --screenshot "$out/$name.png" "$@"
  echo "screenshots: $out/$name.png"
}
shot library-record example-script.txt --page-setup 2 --record 1
shot hitlist example-script.txt --page-setup 3 --page-options 2
shot chromatogram run-script.txt --page-setup 1 --record 271
shot pca-scatter example-script.txt --page-setup 10
shot feature-matrix show-script.txt
