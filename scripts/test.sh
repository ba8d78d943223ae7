#!/usr/bin/env bash
# Builds everything and runs every test: the decision logic natively, then the Windows programs
# and the end-to-end tests under Wine on a private display. Run as root on Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686

ctest --preset native

source scripts/bench.sh
trap bench_stop EXIT
bench_start --own-display
# Tests drive the one mouse of the display and the one shared hook section: run them one at a time.
ctest --preset mingw-i686 -j1 "$@"

# The panel and a drag with the grid, as the test run saw them, for the documentation.
for shot in panel grid; do
  bmp="$TRELLANE_BUILD/screenshots/$shot.bmp"
  [ -f "$bmp" ] && convert "$bmp" -strip "docs/$shot.png" 2>/dev/null || true
done
