#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time, starting from its seed corpus.
# Usage: run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
build=${1:?build folder}
seconds=${2:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
targets=("$build"/fuzz/fuzz_*)
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
  echo "fuzzing $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$crashes/" -print_final_stats=1 "$corpus" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "0 passed, 1 failed: $name found a crash; the input is in $crashes/" >&2
    echo "(once mended, keep it in $root/fuzz/crashes/$name/ so CTest replays it)" >&2
    exit 1
  fi
  runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
  echo "  $name: ${runs:-?} executions, no failure"
  rm -rf "$corpus" "$log"
  passed=$((passed + 1))
done
echo "fuzz: ${passed} passed, 0 failed"
