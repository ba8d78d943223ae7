#!/usr/bin/env bash
# The stress run: 200 mixed gestures over six windows of another program, then checks that quitting
# leaves nothing folded or translucent and the settings file intact. Builds first; run as root.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686
source scripts/bench.sh
trap bench_stop EXIT
bench_start --own-display
ctest --test-dir build/mingw-i686 -j1 --output-on-failure -L stress "$@"
