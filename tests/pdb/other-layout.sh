#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A database written back by another Palm tool, with a sort block or with padding after the
# category block, converts to the pages and images of the handheld's own file: the same page
# (the images are named by record offset, so by their place on it) and the same image bytes.
# Usage: other-layout.sh STRUMLET_CONVERT SAMPLE.pdb
set -euo pipefail
convert=${1:?strumlet-convert}
sample=${2:?sample database}
if ! perl -MPalm::PDB -MPalm::Raw -e 1 2>/dev/null; then
  echo "Palm::PDB (Debian package libpalm-perl) is missing"
  [[ ${CI:-} == true ]] && exit 1
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
name=$(basename "$sample")
mkdir -p "$work/handheld" "$work/sorted" "$work/padded"
cp "$sample" "$work/handheld/$name"
perl -MPalm::PDB -MPalm::Raw -e '
  my ($in, $sorted, $padded) = @ARGV;
  my $pdb = Palm::PDB->new;
  $pdb->Load($in);
  $pdb->{sort} = pack("n*", 0 .. $#{$pdb->{records}});
  $pdb->Write($sorted);
  delete $pdb->{sort};
  $pdb->{appinfo} .= "\0" x 10;
  $pdb->Write($padded);' "$sample" "$work/sorted/$name" "$work/padded/$name"

# The page with each image named by its place, then the image bytes in that order.
flatten() {
  local folder=$1 page
  page=$(ls "$folder"/*.html)
  perl -pe 's/src="([0-9a-f]+)\.png"/"src=\"" . ($n{$1} \/\/= ++$i) . ".png\""/ge' "$page"
  grep -o 'src="[0-9a-f]*\.png"' "$page" | sed 's/src="\(.*\)"/\1/' | while read -r image; do
    od -An -tx1 "$folder/$image"
  done
}

# A leak-checked build must not add its suppression report to the messages.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0"
for layout in handheld sorted padded; do
  "$convert" -q -f png -o "$work/out-$layout" "$work/$layout/$name" >/dev/null 2>"$work/$layout.err"
  if [[ -s "$work/$layout.err" ]]; then
    echo "$layout: $(cat "$work/$layout.err")"
    exit 1
  fi
  flatten "$work/out-$layout/${name%.*}" >"$work/$layout.flat"
done
count=$(grep -c '<img src=' "$work/handheld.flat")
[[ $count -gt 0 ]] || { echo "no image on the handheld file's page"; exit 1; }
for layout in sorted padded; do
  cmp -s "$work/handheld.flat" "$work/$layout.flat" || {
    echo "$layout: the page or an image differs from the handheld file's"
    diff "$work/handheld.flat" "$work/$layout.flat" | head -20
    exit 1
  }
done
echo "$count chords: the same page and images from every layout"
