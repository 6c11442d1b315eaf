#!/usr/bin/env bash
# Checks a compiled Tessmoor.chm against its sources: opens it with extract_chmLib (Debian's
# libchm-bin, a reader independent of the compiler) and checks that
#   - every page of the sources is in the file, and is listed in its table of contents;
#   - every entry of the contents and of the index names a page that is in the file;
#   - the Japanese and the English pages are the same set.
#
#   tools/check-help.sh Tessmoor.chm SOURCE_DIR
#
# Prints one line per problem and ends with "N passed, N failed" over the checks.
set -uo pipefail

(($# == 2)) || { echo "usage: $0 Tessmoor.chm SOURCE_DIR" >&2; exit 2; }
chm=$1 src=$2
command -v extract_chmLib >/dev/null || { echo "$0: extract_chmLib is missing (libchm-bin; run tools/setup.sh)" >&2; exit 1; }
[[ -f $chm ]] || { echo "$0: no help file $chm" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
if ! extract_chmLib "$chm" "$out" >/dev/null 2>&1; then
  echo "extract_chmLib could not read $chm"
  echo "0 passed, 1 failed"
  exit 1
fi

passed=0 failed=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $what"; fi
}

# The Local targets of a contents or index file, one per line, in order.
locals() { iconv -f CP932 -t UTF-8 "$1" | grep -o '<param name="Local" value="[^"]*"' | sed 's/.*value="//; s/"$//'; }

hhc=$(cd "$out" && ls ./*.hhc 2>/dev/null | head -n 1)
hhk=$(cd "$out" && ls ./*.hhk 2>/dev/null | head -n 1)
check "the file holds a table of contents" test -n "$hhc"
check "the file holds an index" test -n "$hhk"
[[ -n $hhc && -n $hhk ]] || { echo "$passed passed, $failed failed"; exit 1; }

mapfile -t pages < <(cd "$src" && find ja en -name '*.html' | sort)
mapfile -t toc < <(locals "$out/$hhc")
mapfile -t index < <(locals "$out/$hhk")
check "the sources have pages" test "${#pages[@]}" -gt 0

in_list() { local x=$1; shift; local y; for y; do [[ $x == "$y" ]] && return 0; done; return 1; }
for page in "${pages[@]}"; do
  check "$page is in the help file" test -f "$out/$page"
  check "$page is listed in the table of contents" in_list "$page" "${toc[@]}"
done
for entry in "${toc[@]}"; do check "contents entry $entry names a page of the file" test -f "$out/$entry"; done
for entry in "${index[@]}"; do check "index entry $entry names a page of the file" test -f "$out/$entry"; done
for page in "${pages[@]}"; do
  case $page in
    ja/*) check "$page has an English twin" test -f "$src/en/${page#ja/}" ;;
    en/*) check "$page has a Japanese twin" test -f "$src/ja/${page#en/}" ;;
  esac
done

echo "$passed passed, $failed failed"
((failed == 0))
