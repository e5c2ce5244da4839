#!/usr/bin/env bash
# Rewrites the seeds of the reply handler fuzz target, fuzz/corpus/reply_handlers_fuzz/, from the
# simulated gateway's answers. Needs a configured build directory of the ordinary (uninstrumented)
# libraries; default build.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target korvex_device korvex_sim
tool=$(mktemp -d)
trap 'rm -rf "$tool"' EXIT
"${CXX:-c++}" -std=c++20 -O1 -Isrc -Ifuzz fuzz/seeds/ReplySeeds.cpp \
  "$build/src/libkorvex_sim.a" "$build/src/libkorvex_device.a" "$build/src/libkorvex_formats.a" \
  "$build/src/libkorvex_model.a" "$build/src/libkorvex_vocab.a" -lpthread -o "$tool/reply-seeds"
rm -rf fuzz/corpus/reply_handlers_fuzz
"$tool/reply-seeds" fuzz/corpus/reply_handlers_fuzz
