#!/bin/bash
# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A second, real local user tries to put code of theirs into the Palm Desktop libraries that
# strumlet-palm copies into the core folder and loads from there, with install files unpacked
# world-writable. The copies must not let them; a library that others can write anyway is
# refused, and the message says which and why.
#
# Usage: another-user.sh STRUMLET-PALM INSTALL-FILES-FOLDER INTRUDER-LIBRARY
# Needs root (to create the user); exits 77, which CTest counts as skipped, otherwise.

set -u
if [ "$(id -u)" -ne 0 ]; then
  echo "Skipped: only root can create the second user this test needs (run it as root)."
  exit 77
fi
palm_program=$1
build_installfiles=$2
intruder_library=$3

work=$(mktemp -d)
chmod 755 "$work"
intruder="strumlet-x$$"
for _ in 1 2 3 4 5; do  # another useradd may hold the password file for a moment
  useradd --system --no-create-home --shell /usr/sbin/nologin "$intruder" 2>/dev/null && break
  sleep 1
done
id "$intruder" >/dev/null || { echo "FAIL: could not create the user $intruder"; exit 1; }
trap 'userdel "$intruder" 2>/dev/null; rm -rf "$work"' EXIT

failures=0
pass() { echo "ok: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
as_intruder() { setpriv --reuid="$intruder" --regid="$intruder" --clear-groups -- "$@"; }
palm() {
  STRUMLET_PALM_HOME="$home" HOME="$work" JPILOT_HOME="$work" \
    STRUMLET_TEST_INTRUDED="$work/intruded" "$palm_program" --install-files "$work/installfiles" "$@"
}
mode_is() {
  local got
  got=$(stat -c %a "$1")
  if [ "$got" = "$2" ]; then pass "$1 is $2"; else fail "$1 is $got, not $2"; fi
}
no_intrusion() {
  if [ -e "$work/intruded" ]; then fail "the intruder's code ran as $(id -un) ($1)"; else
    pass "the intruder's code never ran ($1)"; fi
}

# Install files as an archive unpacked without care leaves them: writable by everyone.
mkdir "$work/installfiles"
cp "$build_installfiles"/{HSAPI.dll,Instaide.dll,strumcond.dll} "$work/installfiles/"
echo "a Palm program" >"$work/installfiles/strumlet.prc"
chmod 777 "$work/installfiles"/*
cp "$intruder_library" "$work/intruder.so"
chmod 644 "$work/intruder.so"

umask 022
home="$work/palm"
palm add-user Ann >/dev/null && palm install-conduit && palm install-app --user Ann 2>/dev/null ||
  fail "the first install did not succeed"
for file in core/HSAPI.dll core/Instaide.dll core/strumcond.dll Ann/Install/strumlet.prc; do
  mode_is "$home/$file" 755
  if as_intruder sh -c 'cat "$1" >"$2"' - "$work/intruder.so" "$home/$file" 2>/dev/null; then
    fail "$intruder overwrote $home/$file"
  else
    pass "$intruder cannot overwrite $home/$file"
  fi
done
mode_is "$home/users" 644
mode_is "$home/core/conduits" 644
if as_intruder sh -c 'cp "$1" "$2.new" && mv "$2.new" "$2"' - "$work/intruder.so" \
  "$home/core/HSAPI.dll" 2>/dev/null; then
  fail "$intruder replaced $home/core/HSAPI.dll"
else
  pass "$intruder cannot put a file into $home/core"
fi
palm remove-conduit >/dev/null 2>&1 || fail "remove-conduit failed"
no_intrusion "remove-conduit"

# Made writable for others after all, each library is refused by name and reason.
chmod o+w "$home/core/HSAPI.dll" "$home/core/Instaide.dll"
as_intruder sh -c 'cat "$1" >"$2" && cat "$1" >"$3"' - "$work/intruder.so" \
  "$home/core/HSAPI.dll" "$home/core/Instaide.dll" || fail "$intruder could not write the libraries"
said=$(palm install-conduit 2>&1)
echo "install-conduit said: $said"
[ "$said" = "HotSync Manager Not Restarted: $home/core/HSAPI.dll was not loaded: other users can \
write to $home/core/HSAPI.dll. Only a library that nobody but you and root can change is loaded, \
since it runs as you: let only yourself write to it and its folders (chmod go-w), then try again." ] &&
  pass "install-conduit refused HSAPI.dll, saying why" || fail "install-conduit said the wrong thing"
said=$(palm install-app --user Ann 2>&1) && fail "install-app succeeded"
echo "install-app said: $said"
case $said in
  "Install Strumlet Application Error: Error: $home/core/Instaide.dll was not loaded: other users \
can write to $home/core/Instaide.dll. Only a library"*) pass "install-app refused Instaide.dll" ;;
  *) fail "install-app said the wrong thing" ;;
esac
rm "$home/core/Instaide.dll"
chmod o+w "$home/core"
said=$(palm install-app --user Ann 2>&1) && fail "install-app succeeded"
echo "install-app said: $said"
case $said in
  *"Instaide.dll was not loaded: other users can write to the folder $home/core."*)
    pass "install-app refused a library in a folder others can write" ;;
  *) fail "install-app said the wrong thing" ;;
esac
no_intrusion "install-conduit and install-app"

# A user who keeps their files to themselves keeps these too.
umask 077
home="$work/private"
palm add-user Bob >/dev/null && palm install-conduit || fail "the private install did not succeed"
mode_is "$home/users" 600
mode_is "$home/core/conduits" 600
mode_is "$home/core/HSAPI.dll" 700

echo "$failures failed"
[ "$failures" -eq 0 ]
