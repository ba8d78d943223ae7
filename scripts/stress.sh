#!/usr/bin/env bash
# The stress test alone (the full test run includes it): 200 mixed gestures over six windows of
# another program, each checked for its effect, then checks that quitting leaves nothing folded or
# translucent and the settings file intact. Builds first; run as root. Extra arguments go to ctest,
# e.g. --repeat until-fail:10.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/bench.sh
bench_build
trap bench_stop EXIT
bench_start --own-display
ctest --test-dir "$TRELLANE_BUILD" -j1 --output-on-failure --no-tests=error -L stress "$@"
