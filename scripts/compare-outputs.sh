#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Converts the same databases with two strumlet-convert programs, in every format and option,
# and compares everything they write byte for byte: a change meant to keep the output as it is
# (a refactoring, a faster path) must pass it. Not part of `make test`, since it needs a build
# of the code before the change. Build that one from the commit to compare with, e.g.:
#
#   mkdir /tmp/before && git archive HEAD~1 | tar -x -C /tmp/before
#   cmake -S /tmp/before -B /tmp/before/build -G Ninja -DSTRUMLET_BUILD_QT=OFF \
#     -DSTRUMLET_BUILD_TESTS=OFF -DSTRUMLET_BUILD_BENCH=OFF
#   cmake --build /tmp/before/build --target strumlet-convert
#   scripts/compare-outputs.sh /tmp/before/build/src/cli/strumlet-convert \
#     build/src/cli/strumlet-convert
#
# The databases are the samples, one built by strumlet-fixture from every description under
# samples/, tests/ and fuzz/seeds/ (damaged ones included), two archived collections, and one
# database written below that holds every instrument code with every string count. Both
# programs run in the same folder one after the other, so the paths they print are the same;
# their standard output, messages and exit statuses are compared as well. The creation time
# of the pages and of the chord books is the one thing masked.
#
# --png-pixels compares PNG diagrams by their pixels instead (scripts/same-png-pixels.py), for
# a change of the compression alone. FIXTURE names the fixture writer; by default the one of
# NEW_CONVERT's build tree, else strumlet-fixture on the PATH. KEEP=1 keeps the outputs to
# look at (the folder is named at the end).
#
# Usage: compare-outputs.sh [--png-pixels] OLD_CONVERT NEW_CONVERT
# Exit status: 0 same output, 1 the outputs differ (the differing files are listed), 2 usage.
set -euo pipefail

pngPixels=false
if [[ ${1:-} == --png-pixels ]]; then
  pngPixels=true
  shift
fi
if [[ $# -ne 2 ]]; then
  echo "usage: $0 [--png-pixels] OLD_CONVERT NEW_CONVERT" >&2
  exit 2
fi
absolute() { (cd "$(dirname "$1")" && echo "$PWD/$(basename "$1")"); }
old=$(absolute "$1")
new=$(absolute "$2")
for program in "$old" "$new"; do
  [[ -x $program ]] || { echo "$0: $program is not a program" >&2; exit 2; }
done
root=$(cd "$(dirname "$0")/.." && pwd)
fixture=${FIXTURE:-$(dirname "$new")/../../tools/fixture/strumlet-fixture}
[[ -x $fixture ]] || fixture=$(command -v strumlet-fixture) ||
  { echo "$0: no strumlet-fixture (set FIXTURE)" >&2; exit 2; }

work=$(mktemp -d)
trap 'if [[ -n ${KEEP:-} ]]; then echo "kept in $work" >&2; else rm -rf "$work"; fi' EXIT
mkdir -p "$work/in"
cp "$root"/samples/*.pdb "$work/in/"
while IFS= read -r -d '' text; do
  name=$(basename "$text" .txt)
  # A description may be damaged on purpose; the writer still writes what it says.
  "$fixture" "$text" "$work/in/fixture-$name.pdb" 2>/dev/null ||
    echo "note: $text gave no database" >&2
done < <(find "$root/samples" "$root/tests" "$root/fuzz/seeds" -name node_modules -prune -o -name '*.txt' \
  ! -name CMakeLists.txt -print0 | sort -z)
"$fixture" --archive "$root/samples/Guitar Chords.txt" "$work/in/archived.arc"
# An archive may store any category, even -1, which sorts last and which the classic page does
# not head when it comes first.
printf '%s\n' '{define: C frets x 3 2 0 1 0}' 'archive-category -1' \
  '{define: D frets x x 0 2 3 2}' 'archive-category -1' >"$work/odd-categories.txt"
"$fixture" --archive "$work/odd-categories.txt" "$work/in/odd-categories.arc"

# Every instrument code the renderer or the exports tell apart, and a few beyond, each with
# the string count of every instrument: base frets around a banjo's short string, one barre,
# per-string barres and fingers.
{
  echo 'database "Every Instrument"'
  echo 'category 0 Unfiled id 0'
  echo 'category 1 Barres id 1'
  for code in 0 1 2 3 4 5 9 255; do
    for frets in "0 2 2 1" "0 0 2 3 2" "x 3 2 0 1 0" "x 2 4 4 4 2 x"; do
      echo "{define: \"I$code ${frets// /}\" frets $frets}"
      echo "instrument $code"
      echo "{define: \"I$code ${frets// /} b\" base-fret 3 frets ${frets//x/1} fingers ${frets//x/0}}"
      echo "instrument $code"
      echo "category 1"
      echo "barre 3"
    done
    for base in 0 1 2 3 4 5 6 7; do
      echo "{define: \"I$code at $base\" base-fret $base frets 0 1 1 2 1}"
      echo "instrument $code"
      echo "category 1"
      echo "barre $base"
      echo "{define: \"I$code strings $base\" base-fret $base frets 0 1 2 1 1}"
      echo "instrument $code"
      echo "barres 0 1 2 1 1"
    done
  done
} >"$work/instruments.txt"
"$fixture" "$work/instruments.txt" "$work/in/instruments.pdb"

# One run per line: the options. Every format with every sort order, then each option on its
# own and together.
runs=()
for format in jpeg png svg both chordpro musicxml json all svg,chordpro png,svg; do
  for sort in category name position; do
    runs+=("-f $format -s $sort")
  done
done
for format in all svg,musicxml,json; do
  for option in --left-handed --alt-text --frame "--scale 25" "--scale 150" "--scale 400" \
    "--font-size 8" "--font-size 36" --no-fingers \
    "--left-handed --alt-text --frame --scale 50 -s category"; do
    runs+=("-f $format $option")
  done
done

convert() {
  local program=$1 into=$2 i=0 options input rc
  for options in "${runs[@]}"; do
    i=$((i + 1))
    mkdir -p "$into/$i"
    echo "$options" >"$into/$i/options"
    # Damaged fixtures make status 1 on purpose; the status is compared like the rest.
    # shellcheck disable=SC2086
    rc=0
    (cd "$work" && "$program" -q $options -o "$work/run/$i" in) \
      >"$into/$i/stdout" 2>"$into/$i/stderr" || rc=$?
    echo $rc >"$into/$i/status"
  done
  # A database named on its own, without a folder's index; archives are read only so.
  for input in instruments.pdb archived.arc odd-categories.arc; do
    i=$((i + 1))
    mkdir -p "$into/$i"
    echo "-f all --alt-text -s category $input" >"$into/$i/options"
    rc=0
    (cd "$work" && "$program" -q -f all --alt-text -s category -o "$work/run/$i" "in/$input") \
      >"$into/$i/stdout" 2>"$into/$i/stderr" || rc=$?
    echo $rc >"$into/$i/status"
  done
  mv "$work/run" "$into/files"
  # The creation time is the one thing meant to differ.
  find "$into" -name '*.html' -exec sed -i -E 's/HTML Created: [^<]*/HTML Created: TIME/' {} +
  # The chord book's, as long as the one it stands for, so that the offsets stay right.
  find "$into" -name '*.pdf' -exec sed -i -E 's/\/CreationDate \(D:[0-9]{14}Z\)/\/CreationDate (D:00000000000000Z)/' {} +
}
convert "$old" "$work/old"
convert "$new" "$work/new"

exclude=()
$pngPixels && exclude=(-x '*.png')
status=0
if ! diff -rq "${exclude[@]}" "$work/old" "$work/new" >"$work/diff"; then
  # One change usually shows in thousands of files: the first hundred say what it is.
  sed -e "s|$work/||g" "$work/diff" | head -n 100
  count=$(wc -l <"$work/diff")
  [[ $count -le 100 ]] || echo "... $((count - 100)) more (KEEP=1 keeps both outputs)"
  status=1
fi
if $pngPixels && ! python3 "$root/scripts/same-png-pixels.py" "$work/old" "$work/new"; then
  status=1
fi
if [[ $status -eq 0 ]]; then
  echo "same output: $(find "$work/new/files" -type f | wc -l) files of ${#runs[@]} runs" \
    "and 3 single databases compared"
else
  echo "the outputs differ" >&2
fi
exit $status
