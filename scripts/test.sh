#!/usr/bin/env bash
# Builds everything and runs every test: the decision logic natively, then the Windows programs
# and the end-to-end tests under Wine on a private display. Run as root on Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

source scripts/bench.sh
bench_build

# The Windows tests run in two lanes at once, each with its own Xvfb display, Wine prefix and
# server: within a lane they run one at a time, since they drive the lane's one mouse and share its
# one hook section.
build=$TRELLANE_BUILD
run_lane() {
  (
    export BENCH_LANE=$1
    source scripts/bench.sh
    trap bench_stop EXIT
    bench_start --own-display
    ctest --test-dir "$build" -j1 --output-on-failure -I "$1,,2" "${@:2}"
  )
}
mkdir -p "$build/lanes"
run_lane 1 "$@" >"$build/lanes/1.log" 2>&1 &
lane1=$!
run_lane 2 "$@" >"$build/lanes/2.log" 2>&1 &
lane2=$!
status=0
wait "$lane1" || status=1
wait "$lane2" || status=1
cat "$build/lanes/1.log" "$build/lanes/2.log"
# One closing line for both lanes.
awk '/tests passed, [0-9]+ tests? failed out of/ { for (i = 1; i <= NF; i++) { if ($i == "out") total += $(i + 2); if ($(i + 1) ~ /^tests?$/ && $(i + 2) == "failed") failed += $i } }
     END { printf "wine: %d passed, %d failed\n", total - failed, failed }' "$build/lanes/1.log" "$build/lanes/2.log"
[ "$status" -eq 0 ] || { echo "test: Windows tests failed"; exit 1; }
