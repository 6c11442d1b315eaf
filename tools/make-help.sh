#!/usr/bin/env bash
# Compiles the help file Tessmoor.chm from resources/help/ with chmcmd (Debian's fp-utils).
#
#   tools/make-help.sh SOURCE_DIR OUT.chm
#
# The sources are UTF-8. HTML Help reads a file's contents and index in the code page of the file's
# language, Japanese here, so every text file is converted to Shift-JIS (CP932) first, in a copy
# under OUT.chm's folder (help-work/); a character that Shift-JIS lacks stops the build.
set -euo pipefail

(($# == 2)) || { echo "usage: $0 SOURCE_DIR OUT.chm" >&2; exit 2; }
src=$(cd "$1" && pwd)
out=$2
command -v chmcmd >/dev/null || { echo "$0: chmcmd is missing (fp-utils; run tools/setup.sh)" >&2; exit 1; }
work=$(cd "$(dirname "$out")" && pwd)/help-work
rm -rf "$work"
mkdir -p "$work"

while IFS= read -r -d '' file; do
  rel=${file#"$src"/}
  mkdir -p "$work/$(dirname "$rel")"
  case $rel in
    *.html | *.hhc | *.hhk | *.hhp)
      if ! sed 's/charset=utf-8/charset=Shift_JIS/I' "$file" | iconv -f UTF-8 -t CP932 >"$work/$rel"; then
        echo "$0: $rel has text that Shift-JIS cannot hold" >&2
        exit 1
      fi
      ;;
    *) cp "$file" "$work/$rel" ;;
  esac
done < <(find "$src" -type f -print0 | sort -z)

project=$(cd "$work" && ls ./*.hhp)
log=$work/chmcmd.log
if ! (cd "$work" && chmcmd --verbosity 1 "$project") >"$log" 2>&1; then
  cat "$log" >&2
  echo "$0: chmcmd failed" >&2
  exit 1
fi
# chmcmd reports missing pages and broken links as warnings and still writes the file.
if grep -Ei 'warning|error|not found' "$log" >&2; then
  echo "$0: chmcmd found problems in the help sources" >&2
  exit 1
fi
compiled=$(sed -n 's/^Compiled file=//p' "$work/$project" | tr -d '\r')
mv -f "$work/$compiled" "$out"
