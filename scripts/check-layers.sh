#!/usr/bin/env bash
# Holds the includes of src/ to the layer order: every #include "..." is written from the src/
# root and names a layer the including file's layer may use. Lists each include that goes
# upward or sideways (or is not written from the root) and fails when there is one.
# Usage: scripts/check-layers.sh [SRC_DIR]   (default: src/ beside this script)
set -euo pipefail
src=${1:-"$(dirname "$0")/../src"}

# Each layer and the layers below it that it may include, besides itself; "formats/*" stands for
# formats/ and every folder in it. A path belongs to the longest layer name it starts with. The
# formats never include one another, device/ and sim/ never include each other, nor ui/ and cli/.
layers='
vocab
model             vocab
formats           vocab model
formats/xml       vocab model formats
formats/csv       vocab model formats
formats/xif       vocab model formats
device/link       vocab model formats/*
device/engine     vocab model formats/* device/link
device/reporting  vocab model formats/* device/link device/engine
device/actions    vocab model formats/* device/link device/engine device/reporting
device/commission vocab model formats/* device/link device/engine device/reporting device/actions
device/qt         vocab model formats/* device/link
sim               vocab model formats/*
ui                vocab model formats/* device/*
cli               vocab model formats/* device/* sim
app               vocab model formats/* device/* sim ui
'

cd "$src"
find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort |
  xargs grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' |
  awk -v layers="$layers" '
    BEGIN {
        n = split(layers, rows, "\n")
        for (i = 1; i <= n; i++) {
            if (split(rows[i], f, " ") == 0) continue
            known[f[1]] = 1
            for (j = 2; j in f; j++) allowed[f[1], f[j]] = 1
        }
    }
    # The longest layer name path starts with, or "" for none.
    function layerOf(path,    name, best) {
        best = ""
        for (name in known)
            if ((path == name || index(path, name "/") == 1) && length(name) > length(best)) best = name
        return best
    }
    # True when from may use a "folder/*" entry that covers layer to.
    function mayUseFolder(from, to,    folder) {
        for (folder = to; folder != ""; sub(/\/?[^\/]*$/, "", folder))
            if ((from, folder "/*") in allowed) return 1
        return 0
    }
    {
        split($0, part, ":")
        file = part[1]; line = part[2]
        target = $0; sub(/^[^"]*"/, "", target); sub(/".*$/, "", target)
        from = layerOf(file); to = layerOf(target)
        where = "src/" file ":" line ": "
        if (from == "") { print where "file outside every layer"; bad++; next }
        if (to == "") { print where "\"" target "\" is not written from the src/ root"; bad++; next }
        if (from == to || (from, to) in allowed || mayUseFolder(from, to)) next
        print where from " includes " target " (" to " is not below " from ")"
        bad++
    }
    END {
        if (bad) { print bad " include(s) break the layer order (see scripts/check-layers.sh)"; exit 1 }
    }'
