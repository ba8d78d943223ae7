#!/usr/bin/env bash
# Unpacks the portable ZIP with Info-ZIP's unzip into a fresh folder, checks what came out (the
# Japanese file name included), then runs trellane.exe from there under the test bench's Wine and
# closes it (package_tests.exe, UnpackedZip.*).
#   zip_runs.sh <zip> <package_tests.exe> <scratch folder>
set -euo pipefail
zip=${1:?zip} probe=${2:?package_tests.exe} scratch=${3:?scratch folder}
root=$(cd "$(dirname "$0")/../.." && pwd)

mkdir -p "$scratch"
work=$(mktemp -d "$scratch/unzip.XXXXXX")
trap 'rm -rf "$work"' EXIT

# unzip writes names that carry the UTF-8 flag in the locale's encoding: a UTF-8 locale keeps them.
LC_ALL=C.UTF-8 unzip -q "$zip" -d "$work/Trellane"

shipped=(ReadMe.txt tools/Vellum.dll tools/除外リスト.txt trellane.exe)
expected=$(printf '%s\n' "${shipped[@]}" | LC_ALL=C sort)
actual=$(cd "$work/Trellane" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
  echo "FAIL: unzip made"; echo "$actual"; echo "instead of"; echo "$expected"
  exit 1
fi
# The name on disk is exactly the UTF-8 bytes of 除外リスト.txt.
name=$(cd "$work/Trellane/tools" && ls -- *.txt)
if [ "$(printf '%s' "$name" | od -An -tx1 | tr -d ' \n')" != "e999a4e5a496e383aae382b9e383882e747874" ]; then
  echo "FAIL: the exclusion list came out as '$name'"
  exit 1
fi
echo "unzip: $(echo "$actual" | wc -l) files, names as expected"

TRELLANE_UNPACKED_DIR="$work/Trellane" bash "$root/scripts/wine-run.sh" "$probe" --gtest_filter='UnpackedZip.*'
