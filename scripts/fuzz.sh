#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a while (default 60 s) from the seed corpus in
# fuzz/corpus; fails on any crash, leak, sanitizer report or timeout.
#   scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

scripts/install-deps.sh
scripts/install-deps.sh clang libclang-rt-dev
cmake --preset fuzz
cmake --build --preset fuzz

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for target in config match report; do
  mkdir -p "$work/$target"
  echo "fuzzing $target for ${seconds}s"
  # New inputs go to the scratch folder; the seeds in the repository are only read.
  build/fuzz/bin/${target}_fuzzer -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$work/" "$work/$target" "fuzz/corpus/$target" 2>&1 | tail -n 12
done
