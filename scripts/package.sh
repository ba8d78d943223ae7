#!/usr/bin/env bash
# Builds the release of both editions and prints the three files of a release: the portable
# Trellane-<version>-win32.zip (preset mingw-i686, in build/mingw-i686/packages/), the portable
# Trellane-<version>-win64.zip and the one installer Trellane-<version>-setup.exe that carries both
# editions (preset mingw-x86_64, in build/mingw-x86_64/packages/). The version is the one in
# project(Trellane VERSION ...) of CMakeLists.txt. Run as root on Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
source scripts/bench.sh
bench_build --target trellane_packages
build32=$TRELLANE_BUILD
build64=$TRELLANE_ROOT/build/mingw-x86_64
(
  TRELLANE_PRESET=mingw-x86_64 TRELLANE_BUILD=$build64
  BENCH_CMAKE_ARGS=(-DTRELLANE_WIN32_BUILD="$build32")
  source scripts/bench.sh
  bench_build --target trellane_packages
)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build32/CMakeCache.txt")
status=0
for file in "$build32/packages/Trellane-$version-win32.zip" "$build64/packages/Trellane-$version-win64.zip" \
            "$build64/packages/Trellane-$version-setup.exe"; do
  if [ -f "$file" ]; then
    printf '%s  %s bytes\n' "$(cd "$(dirname "$file")" && pwd)/$(basename "$file")" "$(stat -c %s "$file")"
  else
    echo "package: $file was not made" >&2
    status=1
  fi
done
exit $status
