#!/usr/bin/env bash
# Compiles every source of the plugin with the host SDK's spdlog first on the include path and
# the system's spdlog 1.x behind it, as on a machine that has both: the headers included must
# decide the spdlog line, never another copy further along the path.
#   scripts/check-host-spdlog.sh [HOST_SDK]   (default ../shared/host-sdk)
set -euo pipefail
cd "$(dirname "$0")/.."
sdk="${1:-../shared/host-sdk}"
# A clone made elsewhere finds the SDK beside the repository it was cloned from.
origin=$(git config --get remote.origin.url 2>/dev/null || true)
[ -e "$sdk" ] || [ $# -gt 0 ] || [ ! -d "$origin/../shared/host-sdk" ] || sdk="$origin/../shared/host-sdk"
[ -f "$sdk/include/spdlog/spdlog.h" ] || { echo "no host SDK at $sdk" >&2; exit 1; }
for source in plugin/*.cpp config/*.cpp relay/*.cpp interfaces/*.cpp; do
  g++ -std=c++17 -fsyntax-only -Wall -Wextra -Werror -I"$sdk/include" -Iinterfaces -Iconfig \
    -Irelay -Iplugin "$source"
done
line=$(echo '#include "LogLibrary.h"' |
  g++ -std=c++17 -x c++ -E -dM -I"$sdk/include" -Iinterfaces - | grep 'TALLYROOK_SINKS_FORMAT')
[ "$line" = "#define TALLYROOK_SINKS_FORMAT 0" ] || { echo "not the 0.x line: $line" >&2; exit 1; }
echo "every plugin source compiles on the host SDK's spdlog 0.x"
