#!/usr/bin/env bash
# Builds the libFuzzer targets of the decision logic with clang++ into build/fuzz and runs each
# for the given time, one after the other, on a temporary copy of its corpus (the seeds in
# fuzz/corpus stay as they are). The exclusion-list target also reads one generated 10 MiB file.
# Prints executions, coverage and findings per target; exits non-zero when anything was found.
#   scripts/fuzz.sh            a smoke run of about 10 s per target
#   scripts/fuzz.sh 300        a long run, 300 s per target
#   TRELLANE_FUZZ_COVERAGE=1 scripts/fuzz.sh 300
#                              afterwards, the line and branch coverage of the logic file of each
#                              target by the seeds plus the inputs the run found
# Failing inputs are kept in build/fuzz/findings/<target>/; replay one with
#   build/fuzz/fuzz_<target> FILE
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-10}
case $seconds in '' | *[!0-9]*) echo "usage: scripts/fuzz.sh [seconds per target]" >&2; exit 2 ;; esac
targets=(settings_value exclusion_list fold_list)

cxx=${TRELLANE_FUZZ_CXX:-$(command -v clang++ || command -v clang++-14 || true)}
[ -n "$cxx" ] || { echo "fuzz: clang++ is not installed (run scripts/setup.sh)" >&2; exit 2; }

build=build/fuzz
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$build"

failed=0
for target in "${targets[@]}"; do
  bash fuzz/run_target.sh "$build" "$target" "$seconds" "$build/findings" "$build/last-corpus" || failed=1
done

if [ "${TRELLANE_FUZZ_COVERAGE:-0}" = 1 ]; then
  profdata=$(command -v llvm-profdata || command -v llvm-profdata-14 || true)
  llvmcov=$(command -v llvm-cov || command -v llvm-cov-14 || true)
  if [ -z "$profdata" ] || [ -z "$llvmcov" ]; then
    echo "fuzz: llvm-profdata and llvm-cov are needed for the coverage report" >&2
  else
    cmake --build "$build" --target "${targets[@]/#/coverage_}" >/dev/null
    for target in "${targets[@]}"; do
      profiles="$build/coverage/$target"
      rm -rf "$profiles" && mkdir -p "$profiles"
      LLVM_PROFILE_FILE="$profiles/%p.profraw" "$build/coverage_$target" -runs=0 \
        "$build/last-corpus/$target" "fuzz/corpus/$target" >/dev/null 2>&1
      "$profdata" merge -sparse "$profiles"/*.profraw -o "$profiles/merged.profdata"
      "$llvmcov" report "$build/coverage_$target" -instr-profile="$profiles/merged.profdata" \
        -show-branch-summary "app/logic/$target.cpp" |
        awk -v f="app/logic/$target.cpp" '$1 == "TOTAL" {
          printf "coverage of %s by seeds and found inputs: lines %s of %s, branches %s of %s, regions %s of %s\n",
                 f, $10, $8, $13, $11, $4, $2 }'
    done
  fi
fi

if [ $failed -ne 0 ]; then
  echo "fuzz: FINDINGS above; the failing inputs are in $build/findings" >&2
  exit 1
fi
echo "fuzz: no findings"
