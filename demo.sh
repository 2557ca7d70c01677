#!/usr/bin/env bash
# Builds the plugin and the devserver (installing what the build needs), then replays the
# example session through the plugin with the example config and players.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target tallyrook-devserver >/dev/null
build/dev/bin/tallyrook-devserver --config examples/config.json \
  --players examples/players.json examples/session.jsonl
