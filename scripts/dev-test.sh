#!/usr/bin/env bash
# For working on one part while others work on theirs: builds into build/<name> (its own dist
# folder and its own Wine prefix) and runs the Windows tests there on a display of its own.
#   scripts/dev-test.sh <name> [ctest arguments, e.g. -R Fold]
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:?usage: dev-test.sh <name> [ctest args]}
shift
export TRELLANE_BUILD="$PWD/build/$name"
source scripts/bench.sh
bench_build
trap bench_stop EXIT
bench_start --own-display
ctest --test-dir "$TRELLANE_BUILD" -j1 --output-on-failure "$@"
