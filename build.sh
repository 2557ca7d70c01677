#!/usr/bin/env bash
# Installs what the build needs (when it can), then configures, builds and tests one preset.
#   ./build.sh                 the ci preset: optimised, warnings as errors, every test
#   ./build.sh dev             a debug build
#   ./build.sh windows-mingw   Tallyrook.dll and the emulated server for Windows, tested under wine
set -euo pipefail
cd "$(dirname "$0")"
preset="${1:-ci}"

scripts/install-deps.sh
if [ "$preset" = windows-mingw ]; then
  scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64 googletest
  # A fresh wine prefix takes a while to set up: let it do so while the build runs.
  export WINEPREFIX="$PWD/build/windows-mingw/wineprefix" WINEDEBUG=-all
  mkdir -p build/windows-mingw
  wineboot -i >/dev/null 2>&1 &
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
fi
cmake --preset "$preset"
cmake --build --preset "$preset"
wait
ctest --preset "$preset"
