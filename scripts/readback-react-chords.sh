#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Reads the JSON export back through a web chord library (@tombatossals/react-chords, rendered
# with react-dom/server) from a fresh npm install. `make test` runs the same check
# (export.react_chords_readback) with the packages scripts/install-deps.sh installs.
#
#   scripts/readback-react-chords.sh [BUILD_DIR]      (default: build)
#
# Converts the bundled samples and the databases described in tests/export/readback and
# fuzz/seeds with the build's strumlet-convert and checks every chord of every JSON file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$root/scripts/readback-react-chords/package.json" "$root/scripts/readback-react-chords/check.js" "$work/"
(cd "$work" && npm install --no-audit --no-fund --loglevel=error >/dev/null)

mkdir -p "$work/in"
cp "$root"/samples/*.pdb "$work/in/"
for description in "$root"/tests/export/readback/*.txt "$root"/fuzz/seeds/*.txt; do
  name=$(basename "$description" .txt)
  "$build/tools/fixture/strumlet-fixture" "$description" "$work/in/$name.pdb"
done
"$build/src/cli/strumlet-convert" -q -f all -o "$work/out" "$work/in" >/dev/null || [ $? -eq 1 ]  # 1: a damaged database read in part
node "$work/check.js" "$work"/out/*/*.json
