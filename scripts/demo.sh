#!/usr/bin/env bash
# The demo: runs the main job on the bundled sample databases.
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
if [[ -x "$build/tools/strumlet-list" ]]; then
  for order in category name position; do
    echo "=== Chords by $order ==="
    for f in "${samples[@]}"; do
      "$build/tools/strumlet-list" --sort "$order" "$f"
    done
  done
fi
