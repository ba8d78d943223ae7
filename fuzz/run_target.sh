#!/usr/bin/env bash
# Runs one fuzz target for a while and prints one summary line; exits non-zero on a finding.
#   run_target.sh BUILD_DIR TARGET SECONDS FINDINGS_DIR [KEEP_DIR]
# TARGET is settings_value, exclusion_list or fold_list; BUILD_DIR holds fuzz_TARGET (and, for the
# exclusion list, make_big_exclusion_list). The committed seeds in fuzz/corpus/TARGET are read
# only: inputs found during the run go to a temporary folder that is removed afterwards. Inputs
# that fail land in FINDINGS_DIR/TARGET/. With KEEP_DIR, the corpus found in this run replaces
# KEEP_DIR/TARGET (for coverage reports; never the committed seeds).
set -uo pipefail

build=${1:?usage: run_target.sh BUILD_DIR TARGET SECONDS FINDINGS_DIR}
target=${2:?target}
seconds=${3:?seconds}
findings=${4:?findings folder}
keep=${5:-}
here=$(cd "$(dirname "$0")" && pwd)

binary="$build/fuzz_$target"
seeds="$here/corpus/$target"
[ -x "$binary" ] || { echo "fuzz_$target: $binary is missing (build the fuzz targets first)" >&2; exit 2; }
[ -d "$seeds" ] || { echo "fuzz_$target: no seed folder $seeds" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/trellane-fuzz-$target.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$findings/$target"

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=0:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

options=(-print_final_stats=1 -timeout=10 -rss_limit_mb=2048 "-artifact_prefix=$findings/$target/")
case $target in
  settings_value) options+=(-max_len=8192) ;;
  fold_list) options+=(-max_len=4096) ;;
  exclusion_list) ;; # the 100,000-byte seed sets the length limit
esac
[ -f "$here/$target.dict" ] && options+=("-dict=$here/$target.dict")

status=0
big=""
if [ "$target" = exclusion_list ]; then
  # One large file, made afresh each time rather than kept in the repository.
  "$build/make_big_exclusion_list" "$work/big.txt" || exit 2
  start=$(date +%s.%N)
  if "$binary" -timeout=300 -rss_limit_mb=4096 "$work/big.txt" >"$work/big.log" 2>&1; then
    big=$(awk -v s="$start" -v e="$(date +%s.%N)" -v b="$(stat -c %s "$work/big.txt")" \
              'BEGIN { printf "; %d-byte file passed in %.1f s", b, e - s }')
  else
    cat "$work/big.log" >&2
    echo "fuzz_$target: the generated large file failed; remake it with" \
         "make_big_exclusion_list OUTPUT and run fuzz_$target OUTPUT" >&2
    status=1
    big="; the large file FAILED"
  fi
fi

touch "$work/stamp"
"$binary" "${options[@]}" -max_total_time="$seconds" "$work/corpus" "$seeds" >"$work/log" 2>&1
rc=$?
after_files=$(find "$findings/$target" -type f -newer "$work/stamp" 2>/dev/null)
found=$(grep -c . <<<"$after_files")

final_stat() { sed -n "s/^stat::$1: *//p" "$work/log" | tail -n 1; }
last=$(grep -E '^#[0-9]+.*cov: ' "$work/log" | tail -n 1)
field() { sed -n "s/.* $1: \([^ ]*\).*/\1/p" <<<"$last"; }
seed_count=$(find "$seeds" -type f | wc -l)
execs=$(final_stat number_of_executed_units)
rate=$(final_stat average_exec_per_sec)
added=$(final_stat new_units_added)
cov=$(field cov) ft=$(field ft) corp=$(field corp)

if [ $rc -ne 0 ]; then
  status=1
  echo "----- fuzz_$target output (last 60 lines) -----" >&2
  tail -n 60 "$work/log" >&2
fi
printf 'fuzz_%s: %s executions (limit %s s, %s exec/s), cov %s, ft %s, corpus %s (from %s seeds, %s new), findings %s%s\n' \
  "$target" "${execs:--}" "$seconds" "${rate:--}" "${cov:--}" "${ft:--}" "${corp:--}" "$seed_count" \
  "${added:--}" "$(( found > 0 ? found : (rc != 0 ? 1 : 0) ))" "$big"
for f in $after_files; do echo "  finding: $f"; done
if [ -n "$keep" ]; then
  rm -rf "${keep:?}/$target"
  mkdir -p "$keep"
  cp -r "$work/corpus" "$keep/$target"
fi
exit $status
