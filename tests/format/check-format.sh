#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Fails on a tracked C++ source that clang-format would change, so that a change never mixes
# its own lines with a reformatting of others'. The style is the tree's .clang-format, for
# clang-format 14; `make format` applies it. Without clang-format, or outside a git checkout
# (a source archive has no list of tracked files), the check is skipped; in CI a missing
# clang-format fails it (scripts/install-deps.sh installs it).
# Usage: check-format.sh SOURCE_DIR
set -euo pipefail
root=${1:?source folder}
format=$(command -v clang-format-14 || command -v clang-format || true)
if [[ -z $format ]]; then
  if [[ ${CI:-} == true ]]; then
    echo "FAIL: clang-format is missing (CI); scripts/install-deps.sh installs it" >&2
    exit 1
  fi
  echo "clang-format is not installed: the formatting is not checked" >&2
  exit 77
fi
if ! git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  echo "$root is no git checkout: the formatting is not checked" >&2
  exit 77
fi
mapfile -d '' files < <(git -C "$root" ls-files -z -- '*.cpp' '*.h')
paths=("${files[@]/#/$root/}")
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# One run for every file; each place it would change is an error line naming its file.
if "$format" --dry-run --Werror "${paths[@]}" >/dev/null 2>"$log"; then
  echo "format: ${#files[@]} sources as clang-format writes them"
  exit 0
fi
sed -nE 's/^(.*):[0-9]+:[0-9]+: error:.*/\1/p' "$log" | sort -u | while IFS= read -r path; do
  echo "${path#"$root/"}: clang-format would change it (make format)" >&2
done
exit 1
