#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs every fuzz target of a fuzz build for a bounded time, starting from its seed corpus.
# Usage: run-fuzzers.sh BUILD_DIR SECONDS [RUNS [TARGET...]]
# With RUNS, each target runs for that many executions instead (SECONDS is then ignored): the
# long runs made outside CI (make fuzz-long). TARGETs (such as fuzz_archive) pick targets.
set -euo pipefail
build=${1:?build folder}
seconds=${2:-30}
runs_wanted=${3:-}
shift $(( $# < 3 ? $# : 3 ))
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
if [[ $# -gt 0 ]]; then
  targets=()
  for name in "$@"; do targets+=("$build/fuzz/$name"); done
else
  targets=("$build"/fuzz/fuzz_*)
fi
if [[ ${#targets[@]} -eq 0 ]]; then
  echo "no fuzz targets in $build/fuzz" >&2
  exit 1
fi
passed=0
for target in "${targets[@]}"; do
  [[ -x "$target" && -f "$target" ]] || continue
  name=$(basename "$target")
  corpus=$(mktemp -d)
  seeds="$build/fuzz/${name}_seeds"
  [[ -d "$seeds" ]] && cp -r "$seeds"/. "$corpus"/
  log=$(mktemp)
  crashes="$build/fuzz/crashes/$name"
  mkdir -p "$crashes"
  if [[ -n "$runs_wanted" ]]; then
    limit=(-runs="$runs_wanted")
    echo "fuzzing $name for $runs_wanted executions"
  else
    limit=(-max_total_time="$seconds")
    echo "fuzzing $name for ${seconds}s"
  fi
  if ! "$target" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$crashes/" -print_final_stats=1 "$corpus" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "0 passed, 1 failed: $name found a crash; the input is in $crashes/" >&2
    echo "(once mended, keep it in $root/fuzz/crashes/$name/ so CTest replays it)" >&2
    exit 1
  fi
  runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
  took=$(grep -E '^stat::average_exec_per_sec' "$log" | awk '{print $2}')
  echo "  $name: ${runs:-?} executions (${took:-?}/s), no failure"
  rm -rf "$corpus" "$log"
  passed=$((passed + 1))
done
echo "fuzz: ${passed} passed, 0 failed"
