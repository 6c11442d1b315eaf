#!/usr/bin/env bash
# Runs one Windows program in a private Wine session (virtual display, fresh prefix under
# WORKDIR) and exits with the program's exit code. This is how ctest runs the end-to-end driver.
#
#   tools/run-under-wine.sh win64|win32 WORKDIR -- PROGRAM.exe [ARGS...]
#
# TESSMOOR_E2E_TIMEOUT: seconds the program may run (default 600); past that it is killed and
# the exit code is 124. TESSMOOR_SCREEN: WxH of the virtual screen (default 1024x768).
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

trap 'tessmoor_wine_down' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

tessmoor_wine_up "$arch" "$workdir" "${TESSMOOR_SCREEN:-1024x768}" || exit 125

# stdin from /dev/null: Wine would otherwise keep reading the test runner's terminal.
timeout -k 10 "${TESSMOOR_E2E_TIMEOUT:-600}" wine "$program" "$@" </dev/null
rc=$?
if ((rc == 124)); then
  echo "$0: $program did not finish within ${TESSMOOR_E2E_TIMEOUT:-600} s" >&2
fi
exit "$rc"
