#!/usr/bin/env bash
# Usage: ./test.sh [--full]
# The fast suite: installs what is missing, checks the layer order of the includes, builds the
# programs and the tests and runs every test through ctest.
# --full adds the benchmarks to the build (built, not run), runs the device tests a second time
# in a ThreadSanitizer build, every test a third time under AddressSanitizer and UBSan (a build
# that compiles each file on its own), and then each fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")"
full=OFF
case "${1:-}" in
  "") ;;
  --full) full=ON ;;
  *) echo "usage: ./test.sh [--full]" >&2; exit 2 ;;
esac

bash scripts/deps.sh
# Includes follow the layer order before anything is built.
bash scripts/check-layers.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

# Optimised lightly and without debug information: the tests need neither, and both double the
# time a clean build takes. A build for debugging or measuring configures its own directory.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG" \
  -DKORVEX_BENCH="$full" >/dev/null
cmake --build build -j "$jobs"
# Most of the tests' time is spent waiting on the simulated gateway's line, not computing: three
# tests per core keep the cores busy (KORVEX_TEST_JOBS sets another number).
test_jobs=${KORVEX_TEST_JOBS:-$((jobs * 3))}
(cd build && KORVEX_BIN_DIR="$PWD/src" KORVEX_SOURCE_DIR="$OLDPWD" \
  ctest --output-on-failure -j "$test_jobs" --timeout 600)

[ "$full" = ON ] || exit 0

if compgen -G "tests/device/*.cpp" >/dev/null; then
  cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="-fsanitize=thread -g -O1" \
    -DKORVEX_ONLY_DEVICE_TESTS=ON -DKORVEX_GUI=OFF -DKORVEX_BENCH=OFF >/dev/null
  cmake --build build-tsan -j "$jobs"
  (cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
    ctest --output-on-failure -j "$jobs" --timeout 600)
fi

# Every test once more under AddressSanitizer and UndefinedBehaviorSanitizer; the first report
# ends the test that made it.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g -O1" \
  -DKORVEX_GUI=OFF -DKORVEX_BENCH=OFF -DKORVEX_UNITY=OFF >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
  KORVEX_BIN_DIR="$PWD/src" KORVEX_SOURCE_DIR="$OLDPWD" ctest --output-on-failure -j "$jobs" --timeout 600)

# Each fuzz target for a bounded time on its seed corpus (KORVEX_FUZZ_SECONDS, default 60);
# a crash, a sanitizer report or a broken invariant fails the run and leaves the input in
# build-fuzz/fuzz/artifacts.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKORVEX_FUZZ=ON -DKORVEX_FUZZ_SECONDS="${KORVEX_FUZZ_SECONDS:-60}" \
  -DKORVEX_TESTS=OFF -DKORVEX_GUI=OFF -DKORVEX_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$jobs" --target fuzz-targets
(cd build-fuzz/fuzz && ctest --output-on-failure -j "$jobs" -L fuzz)
