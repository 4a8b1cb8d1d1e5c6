#!/usr/bin/env bash
# Figures of the desktop program, measured on the real program under Xvfb:
#   - start to the instruction page shown;
#   - OK in the Open dialog to the page shown (its first chord drawn) and to the page loaded
#     (every image in), for a 1,000-chord and a 65,535-chord database;
#   - peak memory with that page open (the program, and its page renderer processes).
# The program's hidden hook STRUMLET_TIMING=1 prints "strumletviewer-timing: EVENT MS" lines.
# Usage: bench/ui-figures.sh [BUILD]    (needs xvfb-run and xdotool)
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
viewer="$build/src/ui/strumletviewer"
fixture="$build/tools/fixture/strumlet-fixture"
[[ -x $viewer && -x $fixture ]] || { echo "build the program first (make build)" >&2; exit 2; }

if [[ -z ${STRUMLET_FIGURES_INNER:-} ]]; then
  command -v xdotool >/dev/null || { echo "needs xdotool (apt-get install xdotool)" >&2; exit 2; }
  exec env STRUMLET_FIGURES_INNER=1 xvfb-run -a -s "-screen 0 1280x900x24" bash "$0" "$build"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" STRUMLET_TIMING=1
[[ $(id -u) -eq 0 ]] && export QTWEBENGINE_DISABLE_SANDBOX=1

# A database of N chords, as the conversion benchmark makes them.
make_database() {
  local chords=$1 out=$2
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
  }' > "$work/$chords.txt"
  "$fixture" "$work/$chords.txt" "$out"
}

now_ms() { date +%s%3N; }
event_ms() { grep -m1 "strumletviewer-timing: $2 " "$1" | awk '{print $3}'; }
wait_event() {  # log event seconds pid
  local i
  for ((i = 0; i < $3 * 10; i++)); do
    grep -q "strumletviewer-timing: $2 " "$1" && return 0
    if ! kill -0 "$4" 2>/dev/null; then
      echo "the program ended before $2 (out of memory?)" >&2
      return 1
    fi
    sleep 0.1
  done
  echo "timed out waiting for $2" >&2
  return 1
}
stop() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }

# Peak resident memory of the program and the current resident memory of its helper processes.
memory_report() {
  local pid=$1 hwm children=0 child
  hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
  for child in $(pgrep -P "$pid" || true) $(for c in $(pgrep -P "$pid" || true); do pgrep -P "$c" || true; done); do
    children=$((children + $(awk '/VmRSS/ {print $2}' "/proc/$child/status" 2>/dev/null || echo 0)))
  done
  echo "program peak $((hwm / 1024)) MiB, page renderer processes $((children / 1024)) MiB"
}

echo "== Start to the instruction page shown (3 runs) =="
for run in 1 2 3; do
  log="$work/start$run.log"
  : >"$log"
  begin=$(now_ms)
  (cd "$work" && exec "$viewer" >"$log" 2>&1) &
  pid=$!
  wait_event "$log" page-loaded 60 "$pid"
  echo "run $run: $(( $(event_ms "$log" page-loaded) - begin )) ms"
  stop "$pid"
done

for chords in 1000 65535; do
  database="$work/Figures $chords.pdb"
  make_database "$chords" "$database"
  rm -rf "$work/config" "$work/out"
  mkdir -p "$work/config/Quillory Software"
  cat > "$work/config/Quillory Software/StrumletViewer.conf" <<CONF
[Settings]
DefaultPath=$database
OutputPath=$work/out/
CONF
  log="$work/open$chords.log"
  : >"$log"
  (cd "$work" && exec "$viewer" /InstallAll >"$log" 2>&1) &
  pid=$!
  # No window manager gives the focus under Xvfb: hand it to each window before its keys.
  main=$(xdotool search --sync --onlyvisible --name '^StrumletViewer$' | head -1)
  sleep 1
  xdotool windowfocus --sync "$main"
  xdotool key --clearmodifiers ctrl+o
  dialog=$(xdotool search --sync --onlyvisible --name 'Process Strumlet backup databases' | head -1)
  sleep 0.5
  xdotool windowfocus --sync "$dialog"
  xdotool key --clearmodifiers Return  # OK is the default button
  if ! wait_event "$log" page-loaded 600 "$pid"; then
    echo "== $chords chords: conversion $(( $(event_ms "$log" open-end) - $(event_ms "$log" open-accepted) )) ms; page not shown =="
    stop "$pid"
    continue
  fi
  accepted=$(event_ms "$log" open-accepted)
  converted=$(event_ms "$log" open-end)
  shown=$(event_ms "$log" page-shown)
  loaded=$(event_ms "$log" page-loaded)
  echo "== $chords chords: OK to page shown $((shown - accepted)) ms" \
       "(conversion $((converted - accepted)) ms, page on screen $((shown - converted)) ms later);" \
       "every image in $((loaded - accepted)) ms =="
  sleep 2
  echo "memory with the page open: $(memory_report "$pid")"
  stop "$pid"
done
