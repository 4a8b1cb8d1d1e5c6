#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the build into a fresh temporary prefix, as `make install PREFIX=...` does, and runs
# one check on the installed copy. Every check starts from its own prefix so they can run in
# parallel and none sees what another left.
#
# usage: check-install.sh CMAKE BUILD_DIR SOURCE_DIR CHECK
#   CHECK: desktop-files | mime-type | convert | man-pages | licence
set -euo pipefail
cmake=$1 build=$2 source=$3 check=$4
app_id=org.strumletviewer.StrumletViewer

work=$(mktemp -d "${TMPDIR:-/tmp}/strumlet-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" ||
  { cat "$work/install.log"; exit 1; }

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Width and height of a PNG file, from its header.
png_size() {
  local bytes
  bytes=$(od -An -tu1 -j16 -N8 "$1" | tr -s ' ' ' ')
  set -- $bytes
  echo "$((($1 << 24) | ($2 << 16) | ($3 << 8) | $4))x$((($5 << 24) | ($6 << 16) | ($7 << 8) | $8))"
}

check_desktop_files() {
  local desktop=$prefix/share/applications/$app_id.desktop
  local metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
  [[ -f $desktop ]] || { fail "no desktop entry at $desktop"; return; }
  local said
  said=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $said"
  [[ -z $said ]] || fail "desktop-file-validate has something to say: $said"
  grep -qx 'Exec=strumletviewer %F' "$desktop" || fail "the desktop entry does not run 'strumletviewer %F'"
  local mime
  mime=$(sed -n 's/^MimeType=//p' "$desktop")
  [[ ";$mime" == *";application/x-strumlet-database;"* ]] || fail "MimeType lacks our type: $mime"
  [[ ";$mime" == *";inode/directory;"* ]] || fail "MimeType lacks inode/directory: $mime"
  local categories
  categories=$(sed -n 's/^Categories=//p' "$desktop")
  [[ ";$categories" == *";Audio;"* && ";$categories" == *";Music;"* ]] ||
    fail "Categories lack Audio and Music: $categories"
  if [[ ${STRUMLET_EXPECT_VIEWER:-0} == 1 && ! -x $prefix/bin/strumletviewer ]]; then
    fail "the desktop entry runs strumletviewer, which is not installed"
  fi

  [[ -f $metainfo ]] || { fail "no metainfo at $metainfo"; return; }
  said=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $said"
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $app_id.desktop"
  grep -q '<image>https://' "$metainfo" || fail "the metainfo has no screenshot"
  ! grep -q '@[A-Z_]*@' "$metainfo" || fail "the metainfo has an unfilled placeholder"

  # One icon name serves the window, the menu entry and the file type.
  local icon
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [[ $icon == "$app_id" ]] || fail "the desktop entry's icon is '$icon', not $app_id"
  grep -q "<icon name=\"$icon\"/>" "$prefix/share/mime/packages/$app_id.xml" ||
    fail "the file type does not use the icon $icon"
  local hicolor=$prefix/share/icons/hicolor
  [[ -s $hicolor/scalable/apps/$icon.svg ]] || fail "no scalable icon"
  for size in 16 32 48 64 128 256; do
    local png=$hicolor/${size}x${size}/apps/$icon.png
    if [[ ! -s $png ]]; then
      fail "no ${size}x${size} icon"
    elif [[ $(png_size "$png") != "${size}x${size}" ]]; then
      fail "the ${size}x${size} icon is $(png_size "$png")"
    fi
  done
}

check_mime_type() {
  # A data folder of our own holding the system's own type definitions and ours, so that the
  # answer depends neither on the machine's caches nor on other installed packages.
  local data=$work/data base=$work/base
  mkdir -p "$data/mime/packages" "$base/mime/packages" "$work/nohome"
  cp /usr/share/mime/packages/freedesktop.org.xml "$data/mime/packages/"
  cp /usr/share/mime/packages/freedesktop.org.xml "$base/mime/packages/"
  cp "$prefix/share/mime/packages/$app_id.xml" "$data/mime/packages/"
  update-mime-database "$data/mime" || { fail "update-mime-database refused our package"; return; }
  update-mime-database "$base/mime"

  cp "$source/samples/Guitar Chords.pdb" "$work/Chords.pdb"
  printf 'database "Addresses"\ncreator addr\n' >"$work/other.txt"
  "$prefix/bin/strumlet-fixture" "$work/other.txt" "$work/Addresses.pdb"
  printf 'database "Chords"\n{define: C base-fret 1 frets x 3 2 0 1 0}\n' >"$work/named.txt"
  "$prefix/bin/strumlet-fixture" "$work/named.txt" "$work/chords without extension"

  query() { # DATA_FOLDER FILE
    XDG_CURRENT_DESKTOP=GNOME XDG_DATA_DIRS=$1 XDG_DATA_HOME=$work/nohome \
      xdg-mime query filetype "$2" 2>/dev/null
  }
  local got
  got=$(query "$data" "$work/Chords.pdb")
  [[ $got == application/x-strumlet-database ]] || fail "a Strumlet database is '$got'"
  got=$(query "$data" "$work/chords without extension")
  [[ $got == application/x-strumlet-database ]] ||
    fail "a Strumlet database without the .pdb name is '$got'"
  got=$(query "$data" "$work/Addresses.pdb")
  local before
  before=$(query "$base" "$work/Addresses.pdb")
  [[ $got != application/x-strumlet-database ]] || fail "another Palm database is taken for ours"
  [[ $got == "$before" ]] || fail "another Palm database became '$got' instead of '$before'"

  # `make install PREFIX=~/.local` gives the prefix a file-type database of its own, which the
  # desktop reads before the system's: the answers must stay the same.
  update-mime-database "$prefix/share/mime" 2>/dev/null ||
    { fail "update-mime-database refused the prefix"; return; }
  got=$(query "$prefix/share:$base" "$work/Chords.pdb")
  [[ $got == application/x-strumlet-database ]] ||
    fail "with the prefix's own database first, a Strumlet database is '$got'"
  got=$(query "$prefix/share:$base" "$work/Addresses.pdb")
  [[ $got == "$before" ]] ||
    fail "with the prefix's own database first, another Palm database became '$got' instead of '$before'"
}

check_convert() {
  # Run from the root folder, far from the source and build trees, with the build tree's assets
  # out of reach of the installed copy.
  local out=$work/out page
  page=$(cd / && "$prefix/bin/strumlet-convert" -q -f both -o "$out" "$source/samples" | tail -n 1) ||
    fail "the installed strumlet-convert failed"
  [[ $page == "$out/index.html" && -s $page ]] || fail "the last line is '$page', not the index page"
  for sample in "$source"/samples/*.pdb; do
    local name
    name=$(basename "$sample" .pdb)
    [[ -s "$out/$name/$name.html" ]] || fail "no page for $name"
    compgen -G "$out/$name/*.png" >/dev/null || fail "no PNG diagrams for $name"
    compgen -G "$out/$name/*.jpg" >/dev/null || fail "no JPEG diagrams for $name"
  done

  # The whole prefix moved elsewhere still finds its data folder.
  mv "$prefix" "$work/moved"
  (cd / && "$work/moved/bin/strumlet-convert" -q -o "$work/out2" "$source/samples/Guitar Chords.pdb" \
    >/dev/null) || fail "a moved installation does not convert"
  [[ -s "$work/out2/Guitar Chords/Guitar Chords.html" ]] || fail "a moved installation wrote no page"

  # An installed copy that lacks an asset says so instead of borrowing the build tree's.
  rm "$work/moved/share/strumletviewer/0.png"
  local said status=0
  said=$(cd / && "$work/moved/bin/strumlet-convert" -q -o "$work/out3" \
    "$source/samples/Guitar Chords.pdb" 2>&1 >/dev/null) || status=$?
  [[ $status -ne 0 ]] || fail "a missing asset went unnoticed"
  [[ $said == *"could not find a very important file: /0.png"* ]] ||
    fail "a missing asset was reported as: $said"
  mv "$work/moved" "$prefix"
}

# The options a --help text names, one a line.
help_options() {
  grep -oE '(^|[^A-Za-z0-9_-])--?[A-Za-z][A-Za-z0-9-]*' <<<"$1" | sed -E 's/^[^-]+//' | sort -u
}

# Every option and subcommand that a program's --help names, and every option of each
# subcommand's own --help, must be in its manual page.
check_man_pages() {
  local found=0
  for program in "$prefix"/bin/*; do
    local name page
    name=$(basename "$program")
    page=$prefix/share/man/man1/$name.1.gz
    found=$((found + 1))
    [[ -s $page ]] || { fail "$name has no manual page"; continue; }
    local warnings
    warnings=$(zcat "$page" | groff -man -ww -z 2>&1) || true
    [[ -z $warnings ]] || fail "$name(1) has roff warnings: $warnings"
    local help text
    help=$(QT_QPA_PLATFORM=offscreen timeout 60 "$program" --help 2>&1 </dev/null) || true
    # The page's text with roff's font changes and escaped hyphens undone.
    text=$(zcat "$page" | sed -e 's/\\f[BIRP]//g' -e 's/\\-/-/g' -e 's/\\(hy/-/g')
    local options subcommands
    options=$(help_options "$help")
    [[ -n $options ]] || fail "$name --help names no option"
    # Subcommands, as a "Subcommands:" block of --help lists them, count as options.
    subcommands=$(awk '/^Subcommands:/ { list = 1; next } list && /^  [a-z]/ { print $1 }
                       list && !/^  / { list = 0 }' <<<"$help")
    options+=" $subcommands"
    for subcommand in $subcommands; do
      options+=" $(help_options "$(timeout 60 "$program" "$subcommand" --help 2>&1 </dev/null)")"
    done
    for option in $(tr ' ' '\n' <<<"$options" | sort -u); do
      grep -qE "(^|[^A-Za-z0-9_-])$option([^A-Za-z0-9_-]|\$)" <<<"$text" ||
        fail "$name --help names $option, which its manual page lacks"
    done
  done
  [[ $found -gt 0 ]] || fail "nothing was installed in bin/"
}

# Every file of the source tree states its copyright and licence, and what is installed names
# one licence for the program: the copyright file's and the software-centre description's.
check_licence() {
  local said
  said=$(cd "$source" && reuse lint 2>&1) || fail "reuse lint: $(grep -v '^$' <<<"$said" | tail -n 25)"
  local copyright=$prefix/share/doc/strumletviewer/copyright
  local metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
  [[ -s $copyright ]] || { fail "no copyright file at $copyright"; return; }
  # The licence of "Files: *", the paragraph after it.
  local program_licence
  program_licence=$(awk '/^Files: \*$/ { all = 1; next } all && /^License: / { print $2; exit }' \
    "$copyright")
  [[ $program_licence == GPL-3+ ]] || fail "the copyright file licenses the program as '$program_licence'"
  grep -q '"/usr/share/common-licenses/GPL-3"' "$copyright" ||
    fail "the copyright file does not point to the licence's text"
  grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" ||
    fail "the metainfo names another licence: $(grep project_license "$metainfo")"
  cmp -s "$source/LICENSE" "$source/LICENSES/GPL-3.0-or-later.txt" ||
    fail "LICENSE and LICENSES/GPL-3.0-or-later.txt differ"
}

case $check in
  desktop-files) check_desktop_files ;;
  mime-type) check_mime_type ;;
  convert) check_convert ;;
  man-pages) check_man_pages ;;
  licence) check_licence ;;
  *) echo "unknown check: $check" >&2; exit 2 ;;
esac
if [[ $failures -gt 0 ]]; then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "ok: $check"
