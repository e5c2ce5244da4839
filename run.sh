#!/usr/bin/env bash
# Installs what is missing, builds and starts the configuration tool.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/deps.sh
# The build directory and flags of ./test.sh, so that one never rebuilds everything after the other.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG" >/dev/null
cmake --build build -j "$(nproc)"
if [ -x build/src/korvex-config ]; then
  exec build/src/korvex-config "$@"
fi
exec build/src/korvex-cli --help
