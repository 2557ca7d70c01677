#!/usr/bin/env bash
# Installs what the build needs (when it can), then configures, builds and tests one preset.
#   ./build.sh          the ci preset: optimised, warnings as errors, every test
#   ./build.sh dev      a debug build
set -euo pipefail
cd "$(dirname "$0")"
preset="${1:-ci}"

scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset"
