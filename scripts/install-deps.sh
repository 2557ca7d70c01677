#!/usr/bin/env bash
# Installs the Debian packages given (or those every build needs) that are not installed yet,
# as root or through sudo.
set -euo pipefail

packages=("$@")
if [ ${#packages[@]} -eq 0 ]; then
  packages=(cmake ninja-build g++ nlohmann-json3-dev libspdlog-dev libfmt-dev libgtest-dev
            libgmock-dev libbenchmark-dev)
fi

command -v dpkg-query >/dev/null || exit 0
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "please install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
