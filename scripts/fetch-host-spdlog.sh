#!/usr/bin/env bash
# Fetches the host's logging library line, spdlog 0.17.0 with its bundled fmt 4.1.0, as the npm
# package spdlog@0.9.0 ships it, into a cache folder (once), checks the package against its
# pinned integrity, and prints the folder of its headers.
set -euo pipefail

readonly package=spdlog@0.9.0
readonly integrity=sha512-AeLWPCYjGi4w5DfpXFKb9pCdgMe4gFBMroGfgwXiNfzwmcNYGoFQkIuD1MChZBR1Iwrx0nGhsTSHFslt/qfTAQ==
cache="${TALLYROOK_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tallyrook}/spdlog-0.9.0"
include="$cache/package/deps/spdlog/include"

if [ ! -f "$cache/verified" ]; then
  command -v npm >/dev/null || { echo "npm is needed to fetch $package" >&2; exit 1; }
  rm -rf "$cache"
  mkdir -p "$cache"
  (cd "$cache" && npm pack "$package" --silent >/dev/null)
  actual="sha512-$(openssl dgst -sha512 -binary "$cache/spdlog-0.9.0.tgz" | base64 -w0)"
  if [ "$actual" != "$integrity" ]; then
    echo "$package does not match its pinned integrity: $actual" >&2
    rm -rf "$cache"
    exit 1
  fi
  tar -xzf "$cache/spdlog-0.9.0.tgz" -C "$cache" package/deps/spdlog/include
  grep -q '#define SPDLOG_VERSION "0.17.0"' "$include/spdlog/common.h"
  grep -q '#define FMT_VERSION 40100' "$include/spdlog/fmt/bundled/format.h"
  touch "$cache/verified"
fi
echo "$include"
