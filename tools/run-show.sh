#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit module and runs the show under Wine, the way a
# user starts it:
#   - with $DISPLAY set, on that display, until the show is ended (key, click or mouse move);
#   - otherwise on a private virtual display for TESSMOOR_SHOW_SECONDS (default 8), then a
#     screenshot is written to build/win64/show.png and the show is ended.
#
# Environment: TESSMOOR_BUILD_DIR (default <repo>/build), TESSMOOR_SCREEN (WxH of the virtual
# display, default 1024x768), TESSMOOR_SHOW_TIMEOUT (longest a visible show may run, default
# 3600 s).
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_root=${TESSMOOR_BUILD_DIR:-$repo/build}
mkdir -p "$build_root"
build_root=$(cd "$build_root" && pwd)
build=$build_root/win64
log=$build_root/win64.show-build.log

say() { printf 'run-show: %s\n' "$*" >&2; }

bash "$repo/tools/setup.sh" || exit 1

say "building $build (log $log)"
: >"$log"
export TESSMOOR_DEPS_DIR=${TESSMOOR_DEPS_DIR:-$build_root/deps}
if ! timeout 2400 cmake -S "$repo" --preset win64 -B "$build" >>"$log" 2>&1 ||
   ! timeout 2400 cmake --build "$build" --target Tessmoor --parallel 2 >>"$log" 2>&1; then
  tail -n 60 "$log" >&2
  say "build failed"
  exit 1
fi
module=$build/Tessmoor.scr
[[ -f $module ]] || { say "no $module after the build"; exit 1; }

# shellcheck source=tools/wine-env.sh
source "$repo/tools/wine-env.sh"

# Puts the demo pictures the build makes into the show's settings, in the session's prefix
# (WINEPREFIX, DISPLAY and the server are up when it runs). Called with the build folder.
register_demo_pictures() {
  local build=$1 key='HKCU\Software\Quorvane\ScreenSaver\LumivaleReg' slot=0 file
  while IFS= read -r file; do
    slot=$((slot + 1))
    timeout 30 wine reg add "$key" /v "ImageRegNo1BoxNo${slot}ImagePass" /t REG_SZ \
      /d "$(_tessmoor_winepath "$file")" /f </dev/null >/dev/null 2>&1 || return 1
  done < <(bash "$repo/tools/make-demo-pictures.sh" "$build/demo-pictures")
  ((slot > 0))
}

trap 'tessmoor_wine_down' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

workdir=$build/show-wine
if [[ -n ${DISPLAY:-} ]] && timeout 10 xdpyinfo >/dev/null 2>&1; then
  TESSMOOR_WINE_USE_DISPLAY=1 tessmoor_wine_up win64 "$workdir" || exit 1
  register_demo_pictures "$build" || { say "registering the demo pictures failed"; exit 1; }
  say "showing on $DISPLAY; move the mouse or press a key to end the show"
  timeout "${TESSMOOR_SHOW_TIMEOUT:-3600}" wine "$module" /s </dev/null
  exit $?
fi

tessmoor_wine_up win64 "$workdir" "${TESSMOOR_SCREEN:-1024x768}" || exit 1
register_demo_pictures "$build" || { say "registering the demo pictures failed"; exit 1; }
say "no display: showing on a virtual one ($DISPLAY)"
wine "$module" /s </dev/null >"$workdir/show.log" 2>&1 &
show_pid=$!
sleep "${TESSMOOR_SHOW_SECONDS:-8}"
if ! kill -0 "$show_pid" 2>/dev/null; then
  wait "$show_pid"
  say "the show ended by itself (exit $?) before the screenshot; see $workdir/show.log"
  exit 1
fi
shot=$build/show.png
if ! timeout 30 import -window root "$shot"; then
  say "the screenshot failed"
  exit 1
fi
say "screenshot: $shot"
# Ending the session ends the show with it.
tessmoor_wine_down
wait "$show_pid" 2>/dev/null
exit 0
