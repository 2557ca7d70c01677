#!/usr/bin/env bash
# Installs what the build needs (when it can), then configures, builds and tests one preset.
#   ./build.sh                 the ci preset: optimised, warnings as errors, every test
#   ./build.sh dev             a debug build
#   ./build.sh windows-mingw   Tallyrook.dll and the emulated server for Windows, tested under wine
#   ./build.sh windows-msvc-abi  the same in MSVC's C++ ABI with the host's spdlog line, under wine
set -euo pipefail
cd "$(dirname "$0")"
preset="${1:-ci}"

scripts/install-deps.sh
case "$preset" in
  windows-mingw) scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64 wine googletest ;;
  windows-msvc-abi)
    scripts/install-deps.sh clang-14 lld llvm wine64 wine libwine-dev googletest ;;
esac
if [ "${preset#windows-}" != "$preset" ]; then
  # One wine session for the build and every test: a session that ends between two tests and
  # starts again under the next can fail a program that starts meanwhile. Its system processes
  # start here, detached from our output, or the first test would start them with its own output,
  # which ctest then waits on for as long as the session lasts. A fresh prefix takes a while to
  # set up: it does so while the build runs.
  export WINEPREFIX="$PWD/build/$preset/wineprefix" WINEDEBUG=-all
  mkdir -p "$WINEPREFIX"
  wineserver -p </dev/null >/dev/null 2>&1
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  wineboot -i </dev/null >/dev/null 2>&1 &
fi
cmake --preset "$preset"
cmake --build --preset "$preset"
wait
ctest --preset "$preset"
