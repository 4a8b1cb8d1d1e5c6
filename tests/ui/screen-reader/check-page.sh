#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# What a screen reader hears of a converted page in the program's window: its headings and the
# words of every diagram. Runs the program under Xvfb with the AT-SPI bridge on, on a session
# bus of its own, and reads the page's accessible tree with pyatspi.
# Usage: check-page.sh PROGRAM DATABASE   (exit 77: the tools are missing, outside CI)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)

# Inside the session bus and the X server: the bus for assistive tools, the program, the reader.
if [[ ${1:-} == --inner ]]; then
  program=$2 database=$3 work=$4
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  HOME=$work/home XDG_CONFIG_HOME=$work/config QTWEBENGINE_DISABLE_SANDBOX=1 \
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" "$database" >"$work/program.log" 2>&1 &
  pid=$!
  /usr/bin/python3 "$here/page-tree.py" 90 >"$work/tree.txt"
  status=$?
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  exit $status
fi
program=$1 database=$2

missing=()
for tool in xvfb-run dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || [[ -x $tool ]] || missing+=("$tool")
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing+=(python3-pyatspi)
if ((${#missing[@]})); then
  echo "skipped: ${missing[*]} missing (scripts/install-deps.sh installs them)"
  [[ ${CI:-} == true ]] && exit 1
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/config/Quillory Software"
# Sorted by category, so that the page has headings.
printf '[Settings]\nOutputPath=%s\nSort=0\n' "$work/out" \
  >"$work/config/Quillory Software/StrumletViewer.conf"

# Xvfb run by a user other than root does not make the X socket folder itself, and a machine
# booted without the system's tmpfiles may not have it: make it as the system would.
[[ -d /tmp/.X11-unix ]] || mkdir -m 1777 /tmp/.X11-unix

timeout 180 dbus-run-session -- xvfb-run -a -e "$work/xvfb.log" -s '-screen 0 1280x800x24' \
  bash "$here/check-page.sh" --inner "$program" "$database" "$work" 2>/dev/null
status=$?
cat "$work/tree.txt"
if ((status != 0)); then
  echo "FAIL: no page with headings and images reached the screen reader" >&2
  tail -20 "$work/program.log" "$work/xvfb.log" >&2
  exit 1
fi
fail=0
expect() {
  grep -qxF -- "$1" <(sed 's/^ *//' "$work/tree.txt") || { echo "FAIL: not heard: $1" >&2; fail=1; }
}
expect "heading: Guitar Chords"
expect "heading: Open Major"
expect "image: C: x 3 2 0 1 0, fingers x 3 2 0 1 0"
expect "image: F: 1 3 3 2 1 1, barre 1, fingers 1 3 4 2 1 1"
expect "image: E7#9: 0 7 6 7 8 x, base fret 6, fingers 0 2 1 3 4 x"
# The words kept beside each diagram for find in page are not read out a second time.
if grep -q "label: C: x 3 2 0 1 0" "$work/tree.txt"; then
  echo "FAIL: the find words are read out" >&2
  fail=1
fi
exit $fail
