#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A database written back by another Palm tool, with a sort block or with padding after the
# category block, converts to the handheld file's page and image bytes (the images are named by
# record offset, so they are compared by their place on the page).
# Usage: other-layout.sh STRUMLET_CONVERT SAMPLE.pdb
set -euo pipefail
if ! perl -MPalm::PDB -e 1 2>/dev/null; then
  echo "libpalm-perl is missing"
  [[ ${CI:-} == true ]] && exit 1 || exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
name=$(basename "$2")
mkdir "$work/handheld" "$work/sorted" "$work/padded"
cp "$2" "$work/handheld/$name"
perl -MPalm::PDB -MPalm::Raw -e '($in, $sorted, $padded) = @ARGV; $pdb = Palm::PDB->new;
  $pdb->Load($in); $pdb->{sort} = pack("n*", 0 .. $#{$pdb->{records}}); $pdb->Write($sorted);
  delete $pdb->{sort}; $pdb->{appinfo} .= "\0" x 10; $pdb->Write($padded);' \
  "$2" "$work/sorted/$name" "$work/padded/$name"
for layout in handheld sorted padded; do
  "$1" -q -f png -o "$work/$layout.out" "$work/$layout/$name" >/dev/null
  page=$(ls "$work/$layout.out"/*/*.html)
  perl -pe 's/src="([0-9a-f]+)\.png"/"src=\"" . ($n{$1} \/\/= ++$i) . ".png\""/ge' "$page" \
    >"$work/$layout.flat"
  for image in $(grep -o '[0-9a-f]*\.png' "$page"); do
    od -An -tx1 "${page%/*}/$image" >>"$work/$layout.flat"
  done
done
cmp "$work/handheld.flat" "$work/sorted.flat"
cmp "$work/handheld.flat" "$work/padded.flat"
echo "$(grep -c "<img" "$work/handheld.flat") chords read alike from every layout"
