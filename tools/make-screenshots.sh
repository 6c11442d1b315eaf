#!/usr/bin/env bash
# Takes the README's screenshots of the running show on the demo pictures, in a private Wine
# session at 1024 x 768: pattern 2 (picture windows) and the random paste mode of pattern 1.
#
#   tools/make-screenshots.sh BUILD_DIR OUTDIR     BUILD_DIR holds a built Tessmoor.scr
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:?usage: $0 BUILD_DIR OUTDIR}
out=${2:?usage: $0 BUILD_DIR OUTDIR}
mkdir -p "$out"
# shellcheck source=tools/wine-env.sh
source "$repo/tools/wine-env.sh"
trap 'tessmoor_wine_down' EXIT
tessmoor_wine_up win64 "$build/screenshot-wine" 1024x768 || exit 1
key='HKCU\Software\Quorvane\ScreenSaver\LumivaleReg'

set_value() { timeout 30 wine reg add "$key" /v "$1" /t REG_SZ /d "$2" /f </dev/null >/dev/null 2>&1; }

# The eight demo pictures, two to a box.
n=0
while IFS= read -r file; do
  box=$((n / 2 + 1)) slot=$((n % 2 + 1))
  set_value "ImageRegNo${box}BoxNo${slot}ImagePass" "$(_tessmoor_winepath "$file")"
  n=$((n + 1))
done < <(bash "$repo/tools/make-demo-pictures.sh" "$build/demo-pictures")

shoot() {  # name seconds
  wine "$build/Tessmoor.scr" /s </dev/null >/dev/null 2>&1 &
  local pid=$!
  sleep "$2"
  timeout 30 import -window root "$out/$1.png"
  kill "$pid" 2>/dev/null
  timeout 30 wineserver -k
  wait "$pid" 2>/dev/null
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

set_value ScrActionRegSelectNoFlag 2
for w in 1 2 3 4; do set_value "ScrActionRegSelectTimerNo2FormNo${w}Flag" 20; done
set_value ScrNo2ActionRegSelectNo4FlagDetail 5
shoot show-pattern2 3

set_value ScrActionRegSelectNoFlag 1
set_value ScrActionRegSelectNo1FlagDetail 3
set_value ScrActionRegSelectNo1FlagTimer 500
set_value ScrActionRegSelectNo1FlagScale 40
shoot show-random-paste 2
