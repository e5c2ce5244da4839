#!/usr/bin/env bash
# Rewrites the committed seed corpora of the file readers, fuzz/corpus/<target>/, from the maps
# and files the tests use. Needs a configured fuzz build (default build-fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
cmake --build "$build" --target korvex-fuzz-seeds
for target in map_document obj_element nv_element port_element node_element register_csv xif_reader; do
  rm -rf "fuzz/corpus/${target}_fuzz"
done
"$build/fuzz/korvex-fuzz-seeds" fuzz/corpus
# The test XIF file up to the end of its NV blocks, where reading stops.
sed "/^FILE template/,\$d" tests/data/empty-map.xif >fuzz/corpus/xif_reader_fuzz/empty-map.xif
# A device file with a standard type newer than the catalogue, laid out by its own type lines.
cp tests/data/vav-newer-types.xif fuzz/corpus/xif_reader_fuzz/
