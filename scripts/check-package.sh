#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks the Debian packages the way the distribution does: in a clean Debian 12 root, builds
# the source package twice (in two folders, the tests run by the first build) and compares the
# two binary packages' contents; lintian (pedantic) on the source package, the upload and the
# binary package of the first build; runs the package's autopkgtests against it, installs it,
# looks at it as a user would, removes it and shows what, if anything, it left behind. Needs
# root, lintian, debootstrap and Debian's mirror. Slow (two builds): not part of `make test`.
#
# usage: scripts/check-package.sh build/deb/strumletviewer_VERSION.dsc [ROOT]
#   `make dsc` makes the source package (`make deb` too, with the host's binary package).
#   ROOT (default /tmp/strumlet-clean-root) is made with debootstrap when it does not exist.
set -euo pipefail
dsc=$(realpath "$1")
folder=$(dirname "$dsc")
base=$(basename "$dsc" .dsc)
version=${base#strumletviewer_}
root=$(realpath -m "${2:-/tmp/strumlet-clean-root}")
here=$(cd "$(dirname "$0")/.." && pwd)

command -v lintian >/dev/null || { echo "error: lintian is missing: run scripts/install-deps.sh" >&2; exit 1; }
# The distribution's own checker: an error or a warning fails the check. An informational tag is
# fixed, or overridden in the package with its reason.
run_lintian() {
  local said
  said=$(lintian --pedantic --fail-on none --display-info --show-overrides "$@" 2>&1) ||
    { printf '%s\n' "$said"; echo "lintian could not check the package" >&2; exit 1; }
  said=$(grep -v '^running with root privileges' <<<"$said" || true)
  [[ -z $said ]] || printf '%s\n' "$said"
  tags() { grep -c "^$1: " <<<"$said" || true; }
  echo "lintian: $(tags E) error(s), $(tags W) warning(s), $(tags I) informational," \
    "$(tags O) overridden"
  [[ $(tags E) -eq 0 && $(tags W) -eq 0 ]] || { echo "lintian found errors or warnings" >&2; exit 1; }
}
echo "== lintian on the source package"
run_lintian "$dsc"

if [[ ! -x $root/bin/bash ]]; then
  echo "== Making a clean Debian 12 root in $root"
  debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian >"$root.log" 2>&1 ||
    { tail "$root.log"; exit 1; }
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
# Terminals for the tests that run the converter on one, as a build root has them.
mkdir -p "$root/dev/pts"
mountpoint -q "$root/dev/pts" || mount --bind /dev/pts "$root/dev/pts"
trap 'umount "$root/dev/pts" 2>/dev/null || true; umount "$root/proc" 2>/dev/null || true' EXIT
in_root() { chroot "$root" env DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 bash -c "$1"; }

echo "== Building the source package twice in the clean root"
in_root 'apt-get update -qq && apt-get install -y -qq --no-install-recommends dpkg-dev \
  build-essential autopkgtest >/dev/null'
# Outside /root, which only root may enter: the tests drop to an ordinary user and must still
# read the build tree, as on a build daemon.
rm -rf "$root/build/src" && mkdir -p -m 755 "$root/build" "$root/build/src"
cp "$dsc" "$folder/strumletviewer_${version}".tar.* "$root/build/src/"
in_root "cd /build/src && apt-get build-dep -y -qq ./$base.dsc >/dev/null"
# The first build makes the source and binary packages and runs the tests; the second, in another
# folder, only the binary package: the tests make no part of it.
for pass in 1 2; do
  if [[ $pass == 1 ]]; then what="" options=""; else what="-b" options="nocheck"; fi
  in_root "cd /build/src && rm -rf build$pass && mkdir build$pass && cd build$pass &&
    dpkg-source -x ../$base.dsc >/dev/null && cd strumletviewer-$version &&
    DEB_BUILD_OPTIONS=\"parallel=\$(nproc) $options\" dpkg-buildpackage -us -uc $what \
      >../build.log 2>&1 || { tail -40 ../build.log; exit 1; }
    grep -E '^dpkg-deb: building' ../build.log"
  in_root "cd /build/src/build$pass && mkdir tree && dpkg-deb -R strumletviewer_${version}_*.deb tree"
done
# Timestamps aside: dpkg-deb -R keeps the files and the control data.
if diff -r "$root/build/src/build1/tree" "$root/build/src/build2/tree" >"$root.builds.diff"; then
  echo "The two builds' packages hold the same files, byte for byte."
else
  echo "The two builds differ:"; head -40 "$root.builds.diff"; exit 1
fi
built=$(ls "$root"/build/src/build1/strumletviewer_"${version}"_*.deb | head -1)
deb=$built

echo "== lintian on the upload and the binary package of the first build"
run_lintian "$root"/build/src/build1/strumletviewer_"${version}"_*.changes "$built"

echo "== autopkgtest (in the clean root, against the package built there)"
in_root "cd /build/src/build1/strumletviewer-$version && autopkgtest --no-built-binaries \
  ../$(basename "$built") . -- null" || { echo "autopkgtest failed" >&2; exit 1; }
in_root 'apt-get remove --purge -y -qq strumletviewer >/dev/null 2>&1 || true'

# What a desktop brings that the checks use: the file-type and menu tools, the icon theme, man.
in_root 'apt-get update -qq && apt-get install -y -qq --no-install-recommends xdg-utils \
  libglib2.0-bin desktop-file-utils hicolor-icon-theme man-db >/dev/null'

cat >"$root/root/snapshot.sh" <<'SNAP'
#!/bin/bash
# Every file of the root with its checksum, less the package tools' own records and logs and
# the builds above.
find / -xdev \( -path /proc -o -path /var/lib/dpkg -o -path /var/lib/apt -o -path /var/cache \
  -o -path /var/log -o -path /root -o -path /tmp -o -path /build \) -prune -o -type f -print0 |
  sort -z | xargs -0 md5sum >"$1"
find / -xdev \( -path /proc -o -path /var/lib/dpkg -o -path /var/lib/apt -o -path /var/cache \
  -o -path /var/log -o -path /root -o -path /tmp -o -path /build \) -prune -o ! -type f -print |
  sort >>"$1"
SNAP
chmod +x "$root/root/snapshot.sh"
# A root left by an interrupted run still has the package: start without it.
in_root 'if dpkg -s strumletviewer >/dev/null 2>&1; then apt-get remove --purge -y -qq strumletviewer \
  >/dev/null && apt-get autoremove --purge -y -qq >/dev/null; fi'
in_root '/root/snapshot.sh /root/before.txt'

cp "$deb" "$root/root/"
cp "$here/samples/Guitar Chords.pdb" "$root/root/"
printf 'database "Addresses"\ncreator addr\n' >"$root/root/other.txt"

echo "== apt install ./$(basename "$deb")"
in_root "cd /root && apt-get install -y --no-install-recommends ./$(basename "$deb") >install.log 2>&1 ||
  { cat install.log; exit 1; }; grep -E '^(Setting up strumletviewer|Processing triggers)' install.log || true"
echo "== Installed files"
in_root 'dpkg -L strumletviewer | while read -r f; do [ -d "$f" ] || echo "$f"; done'
echo "== Menu entry"
in_root 'grep -H strumlet /usr/share/applications/mimeinfo.cache; desktop-file-validate \
  /usr/share/applications/org.strumletviewer.StrumletViewer.desktop && echo "desktop entry valid"'
echo "== File types (as a desktop's file manager sees them)"
in_root 'cd /root && strumlet-fixture other.txt Addresses.pdb &&
  for f in "Guitar Chords.pdb" Addresses.pdb; do
    echo "$f: $(XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$f")"; done
  echo "default application: $(xdg-mime query default application/x-strumlet-database)"'
echo "== strumlet-convert from /"
in_root 'cd / && strumlet-convert -q -o /root/out /root/ && ls /root/out && rm -rf /root/out'
echo "== strumletviewer with a database, as the menu entry starts it (offscreen, 20 s)"
in_root 'cd /root && strumletviewer --version &&
  QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 timeout 20 \
    strumletviewer "/root/Guitar Chords.pdb" >/root/viewer.log 2>&1
  echo "status $? (124: still running after 20 s)";
  ls /root/StrumletOutput/* && rm -rf /root/StrumletOutput'
# The page view's helper processes may outlive the program: end those still running in this root.
for p in /proc/[0-9]*; do
  [[ $(readlink "$p/root" 2>/dev/null) == "$root" ]] && kill -KILL "${p#/proc/}" 2>/dev/null
done
echo "== man strumlet-convert"
in_root 'MANWIDTH=80 man strumlet-convert 2>/dev/null | head -4'

echo "== apt remove --purge, apt autoremove --purge"
in_root 'apt-get remove --purge -y strumletviewer >/root/remove.log 2>&1 &&
  apt-get autoremove --purge -y >>/root/remove.log 2>&1 && /root/snapshot.sh /root/after.txt'
# What is left: anything new that no remaining package owns (the file-type database is the
# shared-mime-info package's, rebuilt by its own trigger).
diff "$root/root/before.txt" "$root/root/after.txt" | sed -n 's/^> \([0-9a-f]\{32\}  \)\{0,1\}//p' |
  grep -v '^/usr/share/mime/' >"$root/root/added.txt" || true
in_root 'while read -r p; do dpkg -S "$p" >/dev/null 2>&1 || echo "$p"; done </root/added.txt' |
  grep -vx '/etc/ld.so.cache' >"$root.left" || true
# Qt WebEngine, run as root above, makes an empty locales folder beside its helper program; the
# package has no part in it.
if grep -qx '/usr/lib/qt6/libexec/locales' "$root.left"; then
  echo "(Qt WebEngine left the empty folder /usr/lib/qt6/libexec/locales from the run as root)"
  grep -vx -e /usr/lib/qt6 -e /usr/lib/qt6/libexec -e /usr/lib/qt6/libexec/locales "$root.left" \
    >"$root.left2" || true
  mv "$root.left2" "$root.left"
fi
if grep -qi strumlet "$root/root/after.txt" || [[ -s $root.left ]]; then
  echo "Left behind:"; grep -i strumlet "$root/root/after.txt" || true; cat "$root.left"; exit 1
fi
echo "Removal left nothing behind."
