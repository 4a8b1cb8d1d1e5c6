#!/usr/bin/env bash
# The demo: lists the bundled sample databases in the three orders, then converts them into
# web pages with PNG and JPEG diagrams under ./StrumletOutput/.
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

echo "== Converting samples/ into StrumletOutput/ (PNG and JPEG diagrams, sorted by category) =="
index=$("$build/src/cli/strumlet-convert" --format both --sort category -o StrumletOutput samples | tail -n 1)
echo
echo "Diagrams (PNG and JPEG) are in: $root/StrumletOutput/<database name>/"
echo "Open the index page in a browser: $index"
