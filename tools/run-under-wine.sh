#!/usr/bin/env bash
# Runs one Windows program in a private Wine session (virtual display, fresh prefix under
# WORKDIR) and exits with the program's exit code. This is how ctest runs the end-to-end driver.
#
#   tools/run-under-wine.sh win64|win32 WORKDIR -- PROGRAM.exe [ARGS...]
#
# TESSMOOR_E2E_TIMEOUT: seconds the program may run (default 600); past that it is killed and
# the exit code is 124. TESSMOOR_SCREEN: WxH of the virtual screen (default 1024x768).
# TESSMOOR_ALSA_FILE=PATH: the sound of the program, and of the programs it starts, goes to a
# dummy ALSA device instead of a sound card (see tessmoor_alsa_file_device): the raw PCM of each
# stream in a file of its own, PATH.0001, PATH.0002, ... numbered in the order the streams
# opened (PATH itself stays empty).
# TESSMOOR_MONITORS=LAYOUT: a desktop of several monitors (tools/monitor-desktop.sh) instead of
# the virtual screen; the program reads the layout it must see from the same variable.
# The prefix stays in WORKDIR/wineprefix afterwards, for a look at the registry it left.
set -uo pipefail

usage() {
  echo "usage: $0 win64|win32 WORKDIR -- PROGRAM.exe [ARGS...]" >&2
  exit 2
}
(($# >= 4)) || usage
arch=$1 workdir=$2
[[ $3 == -- ]] || usage
shift 3
program=$1
shift
[[ -f $program ]] || { echo "$0: no such program: $program" >&2; exit 2; }

# shellcheck source=tools/wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
# shellcheck source=tools/monitor-desktop.sh
source "$(dirname "${BASH_SOURCE[0]}")/monitor-desktop.sh"

child=
# A signal ends the program and the session at once (bash runs a trap only once the foreground
# command is over, so the program runs in the background and is waited for).
on_signal() {
  [[ -n $child ]] && kill -TERM "$child" 2>/dev/null
  exit "$1"
}
trap 'tessmoor_wine_down; tessmoor_monitors_down' EXIT
trap 'on_signal 130' INT
trap 'on_signal 143' TERM
trap 'on_signal 129' HUP

if [[ -n ${TESSMOOR_MONITORS:-} ]]; then
  tessmoor_monitors_up "$TESSMOOR_MONITORS" "$workdir" || exit 125
  export TESSMOOR_WINE_USE_DISPLAY=1
fi
tessmoor_wine_up "$arch" "$workdir" "${TESSMOOR_SCREEN:-1024x768}" || exit 125

if [[ -n ${TESSMOOR_ALSA_FILE:-} ]]; then
  tessmoor_alsa_file_device "$TESSMOOR_ALSA_FILE" || exit 125
  # The program finds the streams by this name, made absolute.
  export TESSMOOR_ALSA_FILE=${ALSA_CONFIG_PATH%.alsa.conf}
  rm -f "$TESSMOOR_ALSA_FILE".[0-9][0-9][0-9][0-9]
  # Told not to truncate, alsa-lib's file plugin leaves an existing file alone and writes to the
  # next free numbered name instead.
  printf 'pcm.default.truncate false\n' >>"$ALSA_CONFIG_PATH"
fi

limit=${TESSMOOR_E2E_TIMEOUT:-600}
# stdin from /dev/null: Wine would otherwise keep reading the test runner's terminal.
timeout -k 10 "$limit" wine "$program" "$@" </dev/null &
child=$!
wait "$child"
rc=$?
child=
if ((rc == 124)); then
  echo "$0: $program did not finish within $limit s" >&2
fi
exit "$rc"
