#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Figures of the desktop program, measured on the real program under Xvfb:
#   - start to the instruction page shown;
#   - for a database of 1,000, 10,000 and 65,535 chords given on the command line: the
#     conversion, the page shown after it (its first chord drawn) and loaded, then a jump to the
#     middle and to the end of the page, each timed until every image in view is in;
#   - the page's images that failed, and the page renderer's "Too many open files" lines;
#   - peak memory of the program and of its page renderer processes.
# The program's hidden hook STRUMLET_TIMING=1 prints "strumletviewer-timing: EVENT MS" lines.
# Usage: bench/ui-figures.sh [--nofile N] [--sizes "1000 10000 65535"] [BUILD]
#   --nofile N  starts the program with that open-file limit (ulimit -n), as many desktops do
#               with 1024; then any failed image or "Too many open files" line fails the script.
set -euo pipefail

nofile="" sizes="1000 10000 65535"
while [[ $# -gt 0 ]]; do
  case $1 in
    --nofile) nofile=$2; shift 2 ;;
    --sizes) sizes=$2; shift 2 ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    *) break ;;
  esac
done
build=$(cd "${1:-build}" && pwd)
viewer="$build/src/ui/strumletviewer"
fixture="$build/tools/fixture/strumlet-fixture"
[[ -x $viewer && -x $fixture ]] || { echo "build the program first (make build)" >&2; exit 2; }

if [[ -z ${STRUMLET_FIGURES_INNER:-} ]]; then
  command -v xvfb-run >/dev/null || { echo "needs xvfb-run (apt-get install xvfb)" >&2; exit 2; }
  # A user other than root gets no X socket folder from Xvfb: make it as the system would.
  [[ -d /tmp/.X11-unix ]] || mkdir -m 1777 /tmp/.X11-unix
  exec env STRUMLET_FIGURES_INNER=1 xvfb-run -a -s "-screen 0 1280x900x24" \
    bash "$0" --nofile "$nofile" --sizes "$sizes" "$build"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" STRUMLET_TIMING=1
[[ $(id -u) -eq 0 ]] && export QTWEBENGINE_DISABLE_SANDBOX=1

make_database() { bash "$(dirname "$0")/make-database.sh" "$build" "$1" "$2"; }

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

# Memory of the program and of its helper processes (the page renderer, the GPU process, the
# zygotes): each one's peak resident size, and the proportional size now (shared pages counted
# once across the processes, so the sum is what they take together).
descendants() {
  local child
  for child in $(pgrep -P "$1" || true); do echo "$child"; descendants "$child"; done
}
kib() { awk -v k="$2" '$1 == k":" {print $2; found = 1} END {if (!found) print 0}' "$1" 2>/dev/null || echo 0; }
memory_report() {
  local pid=$1 hwm children=0 own helpers=0 child
  hwm=$(kib "/proc/$pid/status" VmHWM)
  own=$(kib "/proc/$pid/smaps_rollup" Pss)
  for child in $(descendants "$pid"); do
    children=$((children + $(kib "/proc/$child/status" VmHWM)))
    helpers=$((helpers + $(kib "/proc/$child/smaps_rollup" Pss)))
  done
  echo "peaks: program $((hwm / 1024)) MiB, page renderer processes $((children / 1024)) MiB;" \
       "together now $(((own + helpers) / 1024)) MiB (proportional: program $((own / 1024))," \
       "helpers $((helpers / 1024)))"
}
since() { echo $(( $(event_ms "$1" "$3") - $(event_ms "$1" "$2") )); }

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

failures=0
for chords in $sizes; do
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
  (cd "$work" && { [[ -z $nofile ]] || ulimit -n "$nofile"; } && exec "$viewer" "$database" >"$log" 2>&1) &
  pid=$!
  echo "== $chords chords${nofile:+, ulimit -n $nofile} =="
  if ! wait_event "$log" tour-done 900 "$pid"; then
    grep -E "strumletviewer-timing" "$log" | sed 's/^/  /' || true
    stop "$pid"
    failures=$((failures + 1))
    continue
  fi
  echo "conversion $(since "$log" open-start open-end) ms;" \
       "page shown $(since "$log" open-end page-shown) ms after it," \
       "loaded $(since "$log" open-end page-loaded) ms after it"
  for spot in middle end; do
    if grep -q "strumletviewer-timing: $spot-shown " "$log"; then
      from=page-loaded
      [[ $spot == end ]] && from=$(grep -qs "timing: middle-shown " "$log" && echo middle-shown ||
                                    echo middle-timeout)
      echo "jump to the $spot: every image in view in $(since "$log" "$from" "$spot-shown") ms"
    else
      echo "jump to the $spot: images in view still missing after 60 s"
      failures=$((failures + 1))
    fi
  done
  images=$(grep -m1 "strumletviewer-images:" "$log" | cut -d' ' -f2-)
  emfile=$(grep -c "Too many open files" "$log" || true)
  echo "images: $images; \"Too many open files\" lines: $emfile"
  echo "memory: $(memory_report "$pid")"
  failed=$(awk '{for (i = 1; i < NF; i++) if ($(i + 1) ~ /^failed/) print $i}' <<<"$images")
  if [[ -n $nofile && ( ${failed:-1} -ne 0 || $emfile -ne 0 ) ]]; then
    failures=$((failures + 1))
  fi
  stop "$pid"
done
if [[ -n $nofile && $failures -ne 0 ]]; then
  echo "FAILED: under ulimit -n $nofile, $failures run(s) lost images or ran out of file handles" >&2
  exit 1
fi
