#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Regenerates the sample databases in samples/ from their readable sources.
# Usage: make-samples.sh BUILD_DIR   (a build folder where strumlet-fixture has been built)
set -euo pipefail
build=${1:?build folder}
root=$(cd "$(dirname "$0")/.." && pwd)
fixture="$build/tools/fixture/strumlet-fixture"
if [[ ! -x "$fixture" ]]; then
  echo "error: $fixture not found; build the strumlet-fixture target first" >&2
  exit 1
fi
shopt -s nullglob
for source in "$root"/samples/*.txt; do
  target="${source%.txt}.pdb"
  "$fixture" "$source" "$target"
  echo "wrote ${target#"$root"/}"
done
