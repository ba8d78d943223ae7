#!/usr/bin/env bash
# Refreshes the documentation's pictures docs/panel.png and docs/grid.png: runs the two tests that
# save the panel and a drag with the grid painted, then converts what they saved. The test run never
# touches docs/ itself; run this by hand when the panel's look has changed and commit the result.
# Run as root on Debian 12; with TRELLANE_BUILD=<folder> it builds there.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
source scripts/bench.sh
bench_build
trap bench_stop EXIT
bench_start --own-display
rm -f "$TRELLANE_BUILD"/screenshots/{panel,grid}.bmp
ctest --test-dir "$TRELLANE_BUILD" -j1 --output-on-failure \
  -R '^ProgramTest\.FirstStart|^WindowOpsTest\.GridIsPaintedDuringADragAndWipedAfterIt$'
mkdir -p docs
for shot in panel grid; do
  bmp="$TRELLANE_BUILD/screenshots/$shot.bmp"
  [ -f "$bmp" ] || { echo "docs-pictures: $bmp was not saved" >&2; exit 1; }
  convert "$bmp" -strip "docs/$shot.png"
  echo "docs-pictures: docs/$shot.png"
done
