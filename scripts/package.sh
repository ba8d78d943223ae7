#!/usr/bin/env bash
# Builds the release (preset mingw-i686) and makes both packages in build/mingw-i686/packages/:
# the portable Trellane-<version>-win32.zip and the installer Trellane-<version>-setup.exe. The
# version is the one in project(Trellane VERSION ...) of CMakeLists.txt. Run as root on Debian 12.
# With TRELLANE_BUILD=<folder> it builds there instead (as scripts/dev-test.sh does).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
source scripts/bench.sh
bench_build --target trellane_packages
build=$TRELLANE_BUILD

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
packages="$(cd "$build/packages" && pwd)"
status=0
for file in "Trellane-$version-win32.zip" "Trellane-$version-setup.exe"; do
  if [ -f "$packages/$file" ]; then
    printf '%s  %s bytes\n' "$packages/$file" "$(stat -c %s "$packages/$file")"
  else
    echo "package: $packages/$file was not made" >&2
    status=1
  fi
done
exit $status
