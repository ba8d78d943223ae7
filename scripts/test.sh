#!/usr/bin/env bash
# Builds everything and runs every test: the decision logic natively, then the Windows programs
# and the end-to-end tests under Wine on private displays, for the 32-bit edition in 32-bit prefixes
# and for the x64 edition in a 64-bit one. Run as root on Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

source scripts/bench.sh
bench_build
build=$TRELLANE_BUILD

# The Windows tests run in lanes at once, each with its own Xvfb display, Wine prefix and server:
# within a lane they run one at a time, since they drive the lane's one mouse and share its one hook
# section. Two lanes share the 32-bit edition's tests in 32-bit prefixes; a third runs the x64
# edition in a 64-bit (WoW64) prefix: the window end-to-end tests and the release checks. A third
# 32-bit lane was tried: the load on two cores then starved the timing-sensitive stress test and the
# 20,000-input hook test.
run_lane() {
  (
    export BENCH_LANE=$1
    if [ "$1" = wow64 ]; then export TRELLANE_PRESET=mingw-x86_64 TRELLANE_BUILD=$build64; fi
    source scripts/bench.sh
    trap bench_stop EXIT
    bench_start --own-display
    if [ "$1" = wow64 ]; then
      # Each kind must select something: a renamed test would otherwise leave the lane unseen.
      for kind in "${wow64_kinds[@]}"; do
        [[ $(ctest --test-dir "$build64" -N -R "^$kind") =~ Total\ Tests:\ [1-9] ]] ||
          { echo "test: no test of the x64 edition matches ^$kind"; exit 1; }
      done
      ctest --test-dir "$build64" -j1 --output-on-failure -R "^($(IFS='|'; echo "${wow64_kinds[*]}"))" "${@:2}"
    else
      # ctest lists each program's tests by running it, into files that both lanes read: one lane
      # at a time lists, so that neither reads a file the other is writing, and a lane that lists
      # fewer than its share fails rather than leaving tests unseen.
      local total share
      total=$(flock "$build/lanes/list.lock" ctest --test-dir "$build" -N | sed -n 's/^Total Tests: //p')
      share=$(ctest --test-dir "$build" -N -I "$1,,2" | sed -n 's/^Total Tests: //p')
      [ "$share" -eq $(((total + 2 - $1) / 2)) ] ||
        { echo "test: lane $1 lists $share of its $(((total + 2 - $1) / 2)) tests"; exit 1; }
      ctest --test-dir "$build" -j1 --output-on-failure -I "$1,,2" "${@:2}"
    fi
  )
}
# The x64 edition, its 32-bit side taken from the build above; only what its lane runs. It is built
# while the 32-bit lanes already run, since those mostly wait for Wine.
build64=$TRELLANE_ROOT/build/mingw-x86_64
wow64_kinds=('WindowOpsTest\.' 'VellumDll\.' 'Packaging\.' 'HookProcWithView\.AWindowOfA32BitProgram')
build_x64() {
  TRELLANE_PRESET=mingw-x86_64 TRELLANE_BUILD=$build64
  BENCH_CMAKE_ARGS=(-DTRELLANE_WIN32_BUILD="$build")
  source scripts/bench.sh
  bench_build --target trellane trellane_faults target_windows window_ops_e2e_tests trellane_packages package_tests \
    hook_proc_tests
}
mkdir -p "$build/lanes"
lanes=(1 2 wow64)
pids=()
for lane in 1 2; do
  run_lane "$lane" "$@" >"$build/lanes/$lane.log" 2>&1 &
  pids+=($!)
done
{ (build_x64) && run_lane wow64 "$@"; } >"$build/lanes/wow64.log" 2>&1 &
pids+=($!)
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
logs=("${lanes[@]/#/$build/lanes/}")
logs=("${logs[@]/%/.log}")
cat "${logs[@]}"
# One closing line for all lanes.
awk '/tests passed, [0-9]+ tests? failed out of/ { for (i = 1; i <= NF; i++) { if ($i == "out") total += $(i + 2); if ($(i + 1) ~ /^tests?$/ && $(i + 2) == "failed") failed += $i } }
     END { printf "wine: %d passed, %d failed\n", total - failed, failed }' "${logs[@]}"
[ "$status" -eq 0 ] || { echo "test: Windows tests failed"; exit 1; }
