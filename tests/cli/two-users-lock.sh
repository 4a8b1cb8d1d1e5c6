#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Two real users: one converts into an output folder of their own, the other may read that
# folder and tries to stall the first one's runs by locking it. Needs root to make the users.
set -euo pipefail
convert=$1
samples=$2

if [[ $(id -u) -ne 0 ]] || ! command -v useradd >/dev/null; then
  echo "skipped: only root can make the two users this check needs"
  exit 77
fi

work=$(mktemp -d)
chmod 755 "$work"
victim="strv$$"
attacker="stra$$"
cleanup() {
  pkill -u "$attacker" 2>/dev/null || true
  userdel "$victim" 2>/dev/null || true
  userdel "$attacker" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
useradd -M -d "$work/$victim" -s /bin/sh "$victim"
useradd -M -d "$work/$attacker" -s /bin/sh "$attacker"
install -d -o "$victim" -m 755 "$work/$victim" "$work/$victim/in"
install -o "$victim" -m 644 "$samples"/*.pdb "$work/$victim/in/"
out="$work/$victim/StrumletOutput"
# A leak-checked build's report of its suppressions is nothing the converter said.
as() {
  local user=$1
  shift
  runuser -u "$user" -- env HOME="$work/$user" \
    LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0" "$@"
}

as "$victim" sh -c "umask 022 && '$convert' -q '$work/$victim/in' -o '$out'" >/dev/null

# The reader holds a lock on the folder itself, as long as the check runs.
as "$attacker" flock -x "$out" sleep 120 &
disown
sleep 0.5
# ... and cannot make the lock file the converter takes.
if as "$attacker" sh -c "exec 9>'$out/.strumlet.lock'" 2>"$work/attempt"; then
  echo "FAIL: the reader could make the lock file"
  exit 1
fi
echo "the reader's attempt at the lock file: $(cat "$work/attempt")"

started=$(date +%s)
if ! as "$victim" timeout 30 "$convert" -q "$work/$victim/in" -o "$out" >"$work/page" \
  2>"$work/said"; then
  echo "FAIL: the owner's run did not succeed:"
  cat "$work/said"
  exit 1
fi
took=$(($(date +%s) - started))
if [[ -s "$work/said" ]]; then
  echo "FAIL: the owner's run said:"
  cat "$work/said"
  exit 1
fi
if [[ -e "$out/.strumlet.lock" ]]; then
  echo "FAIL: the run left its lock file behind"
  exit 1
fi
echo "the owner's run converted in ${took} s while the reader held the folder: $(cat "$work/page")"

# A folder of the other user's is no output folder: the owner is told why, and nothing is made.
install -d -o "$attacker" -m 755 "$work/$attacker"
if as "$victim" "$convert" -q "$work/$victim/in" -o "$work/$attacker" 2>"$work/said"; then
  echo "FAIL: a run into another user's folder succeeded"
  exit 1
fi
if ! grep -qx "Invalid Destination Folder: '$work/$attacker' cannot be written: Permission denied." \
  "$work/said"; then
  echo "FAIL: the run into another user's folder said:"
  cat "$work/said"
  exit 1
fi
echo "a run into the other user's folder: $(cat "$work/said")"
