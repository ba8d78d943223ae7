#!/usr/bin/env bash
# For working on one part while others work on theirs: builds into build/<name> (its own dist
# folder and its own Wine prefix) and runs the Windows tests there on a display of its own.
#   scripts/dev-test.sh <name> [ctest arguments, e.g. -R Fold]
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:?usage: dev-test.sh <name> [ctest args]}
shift
export TRELLANE_BUILD="$PWD/build/$name"
cmake -S . -B "$TRELLANE_BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$TRELLANE_BUILD"
source scripts/bench.sh
trap bench_stop EXIT
bench_start --own-display
ctest --test-dir "$TRELLANE_BUILD" -j1 --output-on-failure "$@"
