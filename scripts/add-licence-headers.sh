#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Gives every file of the repository that can hold a comment its licence header: the copyright
# line and the SPDX licence identifier, in the file's own comment style. A file that already
# names its licence is left as it is, so the script can be run again after a merge has brought
# new files. Images, test data and the package's copyright and changelog hold no comment:
# .reuse/dep5 covers them. Ends with `reuse lint`, which names any file still uncovered.
#
# usage: scripts/add-licence-headers.sh
set -euo pipefail
cd "$(dirname "$0")/.."

holder="The StrumletViewer developers"
# The tags' names are put together here so that reuse does not read this script's own text as
# a licence statement.
spdx=SPDX
year=$(date +%Y)

command -v reuse >/dev/null || { echo "error: reuse is missing: run scripts/install-deps.sh" >&2; exit 1; }

# Left to .reuse/dep5 (its Files lines) and the licence texts themselves.
covered_elsewhere() {
  case $1 in
    LICENSE | LICENSES/* | .reuse/*) return 0 ;;
    res/*.png | data/icons/* | docs/*.png) return 0 ;;
    samples/* | fuzz/seeds/* | fuzz/seeds-palm/* | fuzz/crashes/*/*) return 0 ;;
    debian/copyright | debian/changelog | debian/control | debian/source/format) return 0 ;;
    debian/tests/control) return 0 ;;
  esac
  return 1
}

# The comment style of a file, as `reuse annotate --style` names it; "scd" for the manual pages,
# which reuse does not know; empty when the file is of no known kind.
style_of() {
  case $1 in
    *.cpp | *.h | *.js) echo c ;;
    *.md | *.html | *.xml | *.qrc | *.svg) echo html ;;
    *.scd) echo scd ;;
    *.sh | *.py | *.cmake | */CMakeLists.txt | CMakeLists.txt | Makefile | .gitignore | \
      .clang-format | *.desktop | .ci/run | *.toml | debian/rules)
      echo python ;;
  esac
}

# The software-centre description is under the licence it declares for itself.
licence_of() {
  case $1 in
    *.metainfo.xml) echo CC0-1.0 ;;
    *) echo GPL-3.0-or-later ;;
  esac
}

declare -A groups # "style licence" -> file names, one a line
unknown=()
while IFS= read -r -d '' file; do
  [[ -f $file ]] || continue
  covered_elsewhere "$file" && continue
  head -n 12 "$file" | grep -q "$spdx-License-Identifier:" && continue
  style=$(style_of "$file")
  if [[ -z $style ]]; then
    unknown+=("$file")
    continue
  fi
  groups["$style $(licence_of "$file")"]+="$file"$'\n'
done < <(git ls-files -z --cached --others --exclude-standard)

for key in "${!groups[@]}"; do
  read -r style licence <<<"$key"
  mapfile -t files < <(printf '%s' "${groups[$key]}")
  if [[ $style == scd ]]; then
    # scdoc wants the page's title on the first line; its comments start with "; ".
    for file in "${files[@]}"; do
      sed -i "1a\\
; $spdx-FileCopyrightText: $year $holder\\
; $spdx-License-Identifier: $licence" "$file"
    done
  else
    # Not --skip-existing: reuse takes a copyright notice in a string (the About box's) for a
    # header. The files were chosen above by the header's own first lines.
    reuse annotate --copyright "$holder" --year "$year" --license "$licence" --style "$style" \
      "${files[@]}" >/dev/null
  fi
  echo "$style ($licence): ${#files[@]} file(s)"
done

if [[ ${#unknown[@]} -gt 0 ]]; then
  echo "Files of no known comment style: give them a style here or cover them in .reuse/dep5:" >&2
  printf '  %s\n' "${unknown[@]}" >&2
fi
reuse lint --quiet || { reuse lint | tail -n 30; exit 1; }
echo "reuse lint: every file has its copyright and licence."
