#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Converts the bundled samples and every fixture description with two builds and compares what
# they write, byte for byte (the pages' creation times masked), the PNG diagrams by their pixels
# (their compression may change): a change meant to keep the output as it is must pass it.
# Usage: compare-output.sh OLD_BUILD NEW_BUILD
set -euo pipefail
old=$(cd "${1:?old build folder}" && pwd)
new=$(cd "${2:?new build folder}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/in"
cp "$root"/samples/*.pdb "$work/in/"
for text in "$root"/samples/*.txt "$root"/fuzz/seeds/*.txt; do
  name=$(basename "$text" .txt)
  "$new/tools/fixture/strumlet-fixture" "$text" "$work/in/fixture-$name.pdb"
done
for build in old new; do
  dir=${!build}
  for format in jpeg png chordpro; do
    for sort in category name position; do
      out="$work/$build/$format-$sort"
      mkdir -p "$work/$build"
      # The databases of the fixtures may be damaged on purpose: status 1 is expected then.
      (cd "$work" && "$dir/src/cli/strumlet-convert" -q -f "$format" -s "$sort" -o "$out" in \
        >/dev/null 2>"$out.messages") || true
    done
  done
  # The creation time is the one thing meant to differ.
  find "$work/$build" -name '*.html' -exec sed -i -E 's/HTML Created: [^<]*/HTML Created: TIME/' {} +
done
if diff -r -x '*.png' "$work/old" "$work/new" >"$work/diff" &&
   python3 "$root/scripts/same-png-pixels.py" "$work/old" "$work/new"; then
  echo "same output: $(find "$work/new" -type f | wc -l) files compared"
else
  head -n 40 "$work/diff"
  echo "the builds' output differs" >&2
  exit 1
fi
