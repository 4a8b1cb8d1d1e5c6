#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The demo: lists the bundled sample databases in the three orders, then converts them into
# web pages with PNG and JPEG diagrams and into ChordPro files under ./StrumletOutput/.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
shopt -s nullglob
samples=(samples/*.pdb)
if [[ ${#samples[@]} -eq 0 ]]; then
  echo "no sample databases in samples/" >&2
  exit 1
fi

for order in category name position; do
  echo "== The samples' chords by $order =="
  "$build/tools/list/strumlet-list" --brief --sort "$order" "${samples[@]}"
  echo
done

echo "== Converting samples/ into StrumletOutput/ (PNG and JPEG diagrams and ChordPro files, sorted by category) =="
index=$("$build/src/cli/strumlet-convert" --format all --sort category -o StrumletOutput samples | tail -n 1)
echo
echo "Diagrams (PNG and JPEG) are in: $root/StrumletOutput/<database name>/"
echo "ChordPro chord definitions, for songbook programs, are beside them:"
for cho in StrumletOutput/*/*.cho; do
  echo "  $root/$cho"
done
echo "The first lines of one of them:"
sed -n '1,5p' "StrumletOutput/Guitar Chords/Guitar Chords.cho"
echo "Open the index page in a browser: $index"
if [[ -x "$build/src/ui/strumletviewer" ]]; then
  echo
  echo "Start the desktop program: $build/src/ui/strumletviewer"
  echo "  (File, Open converts a database and shows its page; or name one:"
  echo "   $build/src/ui/strumletviewer \"samples/Guitar Chords.pdb\")"
fi
