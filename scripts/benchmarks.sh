#!/usr/bin/env bash
# Builds the release configuration and prints the hook library's figures: the size, exports and
# imports of tools\Vellum.dll as the export check reads them (hook/tests/check_exports.cmake; a
# failed check is reported, not fatal), what the hook procedure costs per mouse message against a
# hook that only hands the message on (target: ratio <= 1.05), then what the installed hook adds to
# the start of a small program that takes one mouse message (ratio with / without, default rounds;
# the options go to the hook procedure's benchmark and the grid benchmark), then, with the grid
# shown, what the program spends on a mouse move (pitch 4 and 32, as a share of a 60 Hz frame; goal:
# 0.01 frame) and on a drag start (the first and later ones; goal: a quarter frame for later ones),
# its private bytes while idle and after many drags, and from the drag end until the window stands
# on the grid, against one SetWindowPos from another process plus one message round trip (goal:
# ratio <= 1.2). Figures only: nothing here passes or fails.
# Runs on a Wine bench with a display of its own; BENCH_DESKTOP=3840x2160 measures the grid on a
# virtual desktop of that size (a prefix of its own, see scripts/bench.sh). TRELLANE_PRESET=mingw-x86_64 measures the x64
# edition's library in a 64-bit prefix.
#   [BENCH_DESKTOP=WIDTHxHEIGHT] scripts/benchmarks.sh [--rounds N]
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/bench.sh
bench_build

# The objdump the build found for the export check, else the toolchain's own.
cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$TRELLANE_BUILD/CMakeCache.txt"; }
objdump=$(cache_value TRELLANE_OBJDUMP)
[ -x "$objdump" ] || objdump=$(cache_value CMAKE_OBJDUMP)
cmake -DOBJDUMP="$objdump" -DDLL="$TRELLANE_BUILD/dist/tools/Vellum.dll" \
      -DEXE="$TRELLANE_BUILD/dist/trellane.exe" -P hook/tests/check_exports.cmake ||
  echo "Vellum.dll: the export check failed (see above)"

trap bench_stop EXIT
bench_start --own-display

"$BENCH_WINE" "$TRELLANE_BUILD/hook/bench/hook_bench.exe" "$@"
"$BENCH_WINE" "$TRELLANE_BUILD/hook/bench/hook_load_bench.exe"
"$BENCH_WINE" "$TRELLANE_BUILD/app/bench/grid_bench.exe" --desktop "${BENCH_DESKTOP:-1024x768}" "$@"
