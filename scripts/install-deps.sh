#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian packages needed to build, test and demo StrumletViewer.
# Idempotent and silent when everything is already present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libgd-dev libpng-dev libjpeg-dev libfreetype-dev zlib1g-dev libdeflate-dev
  libfontconfig-dev fontconfig fonts-liberation
  qt6-base-dev qt6-webengine-dev libgl-dev libx11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-format libclang-rt-14-dev
  libcli11-dev libcairo2-dev libpaper-dev
  qpdf poppler-utils chromium default-jre-headless
  xvfb xauth
  librsvg2-bin scdoc gzip groff-base file dpkg-dev
  desktop-file-utils appstream shared-mime-info xdg-utils libglib2.0-bin
  locales time
  at-spi2-core python3-pyatspi dbus-daemon
  python3 python3-jsonschema python3-numpy musescore3 libpalm-perl libxml2-utils nodejs
  fluidsynth timgm6mb-soundfont libfluidsynth-dev libsndfile1-dev python3-soundfile
  lintian reuse debootstrap debhelper autopkgtest
)

sudo_if_needed() {
  if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "error: need root or sudo to run: $*" >&2; exit 1; }
    sudo "$@"
  else
    "$@"
  fi
}

# The timestamp test needs a locale whose date order differs from the C locale's.
ensure_test_locale() {
  locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8' && return 0
  command -v localedef >/dev/null || return 0
  echo "Generating the de_DE.UTF-8 locale for the tests."
  sudo_if_needed localedef -i de_DE -f UTF-8 de_DE.UTF-8
}

# The readers the export tests read back with come from npm, at the versions the lock file
# fixes, into tests/export/node/node_modules; `npm ci` only runs when they are not all there.
install_node_readers() {
  local folder
  folder="$(cd "$(dirname "$0")/.." && pwd)/tests/export/node"
  # npm writes its own copy of the lock file when it installs.
  [[ "$folder/node_modules/.package-lock.json" -nt "$folder/package-lock.json" ]] && return 0
  echo "Installing the npm readers for the export tests."
  (cd "$folder" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
}

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
# Some Node.js builds bring their own npm, which Debian's npm package would conflict with.
command -v npm >/dev/null || missing+=(npm)
if [[ ${#missing[@]} -eq 0 ]]; then
  ensure_test_locale
  install_node_readers
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "error: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "Packages installed."
ensure_test_locale
install_node_readers
