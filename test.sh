#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through ctest.
# Device tests run a second time in a ThreadSanitizer build.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
(cd build && KORVEX_BIN_DIR="$PWD/src" KORVEX_SOURCE_DIR="$OLDPWD" ctest --output-on-failure -j "$jobs" --timeout 600)

if compgen -G "tests/device/*.cpp" >/dev/null; then
  cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="-fsanitize=thread -g -O1" \
    -DKORVEX_ONLY_DEVICE_TESTS=ON -DKORVEX_GUI=OFF -DKORVEX_BENCH=OFF >/dev/null
  cmake --build build-tsan -j "$jobs"
  (cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
    ctest --output-on-failure -j "$jobs" --timeout 600)
fi
