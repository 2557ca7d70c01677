#!/usr/bin/env bash
# Installs what the build needs (when it can), then configures, builds and tests one preset.
#   ./build.sh          the ci preset: optimised, warnings as errors, every test
#   ./build.sh dev      a debug build
set -euo pipefail
cd "$(dirname "$0")"
preset="${1:-ci}"

packages=(cmake ninja-build g++ nlohmann-json3-dev libspdlog-dev libfmt-dev libgtest-dev
          libgmock-dev libbenchmark-dev)

install_missing() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "missing packages: ${missing[*]}" >&2; return 1; }
    sudo="sudo"
  fi
  echo "installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

if command -v dpkg-query >/dev/null; then install_missing "${packages[@]}"; fi

cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset"
