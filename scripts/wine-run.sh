#!/usr/bin/env bash
# Runs one Windows program of the build under the test bench's Wine (the emulator ctest uses).
if [ -z "${TRELLANE_BENCH:-}" ]; then
  echo "wine-run: start the bench first (scripts/test.sh does)" >&2
  exit 2
fi
exec "${BENCH_WINE:-wine}" "$@"
