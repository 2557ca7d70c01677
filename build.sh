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
    scripts/install-deps.sh clang-14 lld llvm wine64 wine libwine-dev googletest openssl
    command -v npm >/dev/null || scripts/install-deps.sh npm
    scripts/fetch-host-spdlog.sh >/dev/null ;;
esac
if [ "${preset#windows-}" != "$preset" ]; then
  # A fresh wine prefix takes a while to set up: let it do so while the build runs.
  export WINEPREFIX="$PWD/build/$preset/wineprefix" WINEDEBUG=-all
  mkdir -p "build/$preset"
  wineboot -i >/dev/null 2>&1 &
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
fi
cmake --preset "$preset"
cmake --build --preset "$preset"
wait
ctest --preset "$preset"
