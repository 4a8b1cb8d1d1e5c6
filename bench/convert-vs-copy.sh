#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Times strumlet-convert against the floor of copying its own output, in one run:
#   - on disk (a folder under TMPDIR, or --disk DIR): the conversion of a database of N chords
#     with PNG diagrams, then `cp -r` of the folder it wrote, each followed by `sync` so that
#     both pay for their writes; the ratio is the figure (goal: at most 1.5);
#   - on tmpfs (/dev/shm) with the program pinned to one core: chords per second per core
#     (goal: at least 20,000);
#   - the conversion's peak memory (goal: under 100 MB).
# Usage: bench/convert-vs-copy.sh [--chords N] [--runs N] [--disk DIR] [BUILD]
set -euo pipefail

chords=65535 runs=3 disk=${TMPDIR:-/tmp}
while [[ $# -gt 0 ]]; do
  case $1 in
    --chords) chords=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --disk) disk=$2; shift 2 ;;
    -h|--help) sed -n '2,10p' "$0"; exit 0 ;;
    *) break ;;
  esac
done
build=$(cd "${1:-build}" && pwd)
convert="$build/src/cli/strumlet-convert"
fixture="$build/tools/fixture/strumlet-fixture"
[[ -x $convert && -x $fixture ]] || { echo "build the program first (make build)" >&2; exit 2; }

work=$(mktemp -d "$disk/strumlet-bench.XXXXXX")
shm=$(mktemp -d /dev/shm/strumlet-bench.XXXXXX)
trap 'rm -rf "$work" "$shm"' EXIT

bash "$(dirname "$0")/make-database.sh" "$build" "$chords" "$work/Chords.pdb"

ms() { date +%s%3N; }
median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }

# One core on tmpfs first: the disk runs leave write-back to the kernel for a while after.
rates=() peak=0
for ((run = 1; run <= runs; run++)); do
  rm -rf "$shm/out"
  begin=$(ms)
  /usr/bin/env time -f '%M' -o "$shm/rss" taskset -c 0 "$convert" -q -f png -o "$shm/out" "$work/Chords.pdb" >/dev/null
  took=$(($(ms) - begin))
  rates+=($((chords * 1000 / (took > 0 ? took : 1))))
  rss=$(cat "$shm/rss")
  ((rss > peak)) && peak=$rss
done
echo "tmpfs, one core: ${rates[*]} chords/s; median $(printf '%s\n' "${rates[@]}" | median)"
echo "peak memory of the conversion: $((peak / 1024)) MiB"

sync
convert_ms=() copy_ms=()
for ((run = 1; run <= runs; run++)); do
  out="$work/out$run" copy="$work/copy$run"
  begin=$(ms)
  "$convert" -q -f png -o "$out" "$work/Chords.pdb" >/dev/null
  sync
  convert_ms+=($(($(ms) - begin)))
  begin=$(ms)
  cp -r "$out" "$copy"
  sync
  copy_ms+=($(($(ms) - begin)))
done
files=$(find "$work/out1" -type f | wc -l)
bytes=$(du -sb "$work/out1" | cut -f1)
c=$(printf '%s\n' "${convert_ms[@]}" | median)
k=$(printf '%s\n' "${copy_ms[@]}" | median)
echo "disk ($disk): $chords chords, $files files, $bytes bytes"
echo "  strumlet-convert ${convert_ms[*]} ms, cp -r ${copy_ms[*]} ms;" \
     "medians $c and $k ms: $(awk -v c="$c" -v k="$k" 'BEGIN {printf "%.2f", c / k}')x"
