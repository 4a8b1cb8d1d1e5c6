#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Writes a database of N chords in three categories, as the conversion benchmark makes them.
# Usage: bench/make-database.sh BUILD N OUT.pdb
set -euo pipefail
build=${1:?build folder} chords=${2:?number of chords} out=${3:?output database}
description=$(mktemp)
trap 'rm -f "$description"' EXIT
awk -v n="$chords" 'BEGIN {
  split("C Db D Eb E F F# G Ab A Bb B", roots, " ");
  kinds[0] = ""; kinds[1] = "m"; kinds[2] = "7"; kinds[3] = "maj7";
  kinds[4] = "m7"; kinds[5] = "sus4"; kinds[6] = "dim"; kinds[7] = "aug";
  print "category 0 Unfiled id 0"; print "category 1 Major"; print "category 2 Minor";
  for (i = 0; i < n; i++) {
    printf "{define: \"%s%s\" base-fret %d frets x %d %d 0 %d 1 fingers x 1 2 0 3 1}\ncategory %d\n",
      roots[i % 12 + 1], kinds[int(i / 12) % 8], i % 9 + 1, i % 4 + 1, int(i / 4) % 4 + 1,
      i % 3 + 1, i % 3;
  }
}' >"$description"
"$build/tools/fixture/strumlet-fixture" "$description" "$out"
