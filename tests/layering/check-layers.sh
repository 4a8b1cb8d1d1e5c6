#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Fails when a source of one layer includes a header of a layer it may not use: the map of
# DESIGN.md, arrows pointing down only. The build refuses such an include too (a layer's include
# path holds only the layers below it); this check also names the file and the arrow.
# Usage: check-layers.sh SOURCE_DIR
set -euo pipefail
src=${1:?source folder}/src
declare -A may=(
  [core]=""
  [pdb]="core"
  [render]="pdb core"
  [html]="render pdb core"
  [export]="render pdb core"
  [sound]="export pdb core"
  [convert]="html sound export render pdb core"
  [palm]="core"
  [app]="convert html sound export render pdb core palm"
  [ui]="app convert html sound export render pdb core palm"
  [cli]="convert html sound export render pdb core palm"
)
qt_free="core pdb render html export sound convert palm cli"
status=0
for layer in "${!may[@]}"; do
  [[ -d "$src/$layer" ]] || continue
  while IFS=: read -r file line text; do
    used=$(sed -E 's|.*#include "strumlet/([a-z]+)/.*|\1|' <<<"$text")
    [[ "$used" == "$layer" ]] && continue
    if [[ " ${may[$layer]} " != *" $used "* ]]; then
      echo "$file:$line: $layer may not use $used: $text" >&2
      status=1
    fi
  done < <(grep -rnE '#include "strumlet/[a-z]+/' "$src/$layer" || true)
done
for layer in $qt_free; do
  if grep -rnE '#include <Q[A-Za-z]+>|#include <Qt' "$src/$layer" >&2; then
    echo "$layer is below the Qt layers and may not include Qt" >&2
    status=1
  fi
done
[[ $status -eq 0 ]] && echo "layers: every include points down"
exit $status
