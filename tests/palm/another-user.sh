#!/bin/bash
# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A second, real local user tries to put code of theirs into the libraries strumlet-palm copies
# into the core folder (from install files unpacked world-writable) and loads from there. The
# copies must not let them; a library others can write anyway is refused, saying which and why.
# Usage: another-user.sh STRUMLET-PALM INSTALL-FILES-FOLDER INTRUDER-LIBRARY. Root only: exits
# 77 (skipped) otherwise.

set -u
if [ "$(id -u)" -ne 0 ]; then
  echo "Skipped: only root can create the second user this test needs (run it as root)."
  exit 77
fi
work=$(mktemp -d)
chmod 755 "$work"
intruder="strumlet-x$$"
for _ in 1 2 3 4 5; do # another useradd may hold the password file for a moment
  useradd --system --no-create-home --shell /usr/sbin/nologin "$intruder" 2>/dev/null && break
  sleep 1
done
trap 'userdel "$intruder" 2>/dev/null; rm -rf "$work"' EXIT
id "$intruder" >/dev/null || exit 1
failures=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1" && failures=$((failures + 1)); fi; }
palm() {
  STRUMLET_PALM_HOME="$home" HOME="$work" JPILOT_HOME="$work" STRUMLET_TEST_INTRUDED="$work/ran" \
    "$1" --install-files "$work/installfiles" "${@:2}"
}
# Writes the intruder's library over each file given, as the intruder.
intrude() { setpriv --reuid="$intruder" --regid="$intruder" --clear-groups -- \
  sh -c 'for f; do cat "$0" >"$f" || exit 1; done' "$work/intruder.so" "$@" 2>/dev/null; }

mkdir "$work/installfiles"
cp "$2"/{HSAPI.dll,Instaide.dll,strumcond.dll} "$work/installfiles/"
echo "a Palm program" >"$work/installfiles/strumlet.prc"
chmod 777 "$work/installfiles"/*
install -m 644 "$3" "$work/intruder.so"

umask 022
home="$work/palm"
palm "$1" add-user Ann >/dev/null && palm "$1" install-conduit && palm "$1" install-app --user Ann 2>/dev/null
for file in core/HSAPI.dll core/Instaide.dll core/strumcond.dll Ann/Install/strumlet.prc; do
  check "$file is $(stat -c %a "$home/$file"), which $intruder cannot overwrite" "! intrude $home/$file"
done
check "users and core/conduits are 644" '[ "$(stat -c %a "$home/users" "$home/core/conduits")" = "644
644" ]'
palm "$1" remove-conduit 2>/dev/null
check "the intruder's code never ran" '[ ! -e "$work/ran" ]'

# Made writable for others after all, the libraries are refused by name and reason.
chmod o+w "$home/core/HSAPI.dll" "$home/core/Instaide.dll"
check "$intruder can write them now" 'intrude "$home/core/HSAPI.dll" "$home/core/Instaide.dll"'
why=". Only a library that nobody but you and root can change is loaded, since it runs as you: let \
only yourself write to it and its folders (chmod go-w), then try again."
said=$(palm "$1" install-conduit 2>&1)
echo "install-conduit said: $said"
check "install-conduit refused HSAPI.dll" '[ "$said" = "HotSync Manager Not Restarted: \
$home/core/HSAPI.dll was not loaded: other users can write to $home/core/HSAPI.dll$why" ]'
said=$(palm "$1" install-app --user Ann 2>&1)
echo "install-app said: $said"
check "install-app refused Instaide.dll" '[ "$said" = "Install Strumlet Application Error: Error: \
$home/core/Instaide.dll was not loaded: other users can write to $home/core/Instaide.dll$why" ]'
rm "$home/core/Instaide.dll"
chmod o+w "$home/core"
said=$(palm "$1" install-app --user Ann 2>&1)
echo "install-app said: $said"
check "install-app refused a library in a folder others can write" \
  '[[ $said == *"Instaide.dll was not loaded: other users can write to the folder $home/core$why" ]]'
check "the intruder's code never ran" '[ ! -e "$work/ran" ]'

umask 077
home="$work/private"
palm "$1" add-user Bob >/dev/null && palm "$1" install-conduit
check "under umask 077 users, core/conduits and core/HSAPI.dll are 600, 600 and 700" \
  '[ "$(stat -c %a "$home/users" "$home/core/conduits" "$home/core/HSAPI.dll")" = "600
600
700" ]'
echo "$failures failed"
[ "$failures" -eq 0 ]
