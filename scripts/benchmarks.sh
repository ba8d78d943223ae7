#!/usr/bin/env bash
# Builds the release configuration and prints the hook library's figures: the size and imports of
# tools\Vellum.dll, and what the hook procedure costs per mouse message against a hook that only
# hands the message on (target: ratio <= 1.05), then what the installed hook adds to the start of a
# small program that takes one mouse message (ratio with / without, default rounds; the options go
# to the first only). Figures only: nothing here passes or fails.
# Runs on a Wine bench with a display of its own.
#   scripts/benchmarks.sh [--rounds N]
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/bench.sh
bench_build
trap bench_stop EXIT
bench_start --own-display

wine "$TRELLANE_BUILD/hook/bench/hook_bench.exe" "$@"
wine "$TRELLANE_BUILD/hook/bench/hook_load_bench.exe"
