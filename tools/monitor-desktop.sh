#!/usr/bin/env bash
# A desktop of several monitors for the end-to-end tests: an Xorg server with the dummy video
# driver (Xvfb puts every head at 0,0, so Wine would see one monitor), its outputs laid out with
# xrandr, the root window painted a known backdrop colour.
#
# A layout is a list of monitors WxH+X+Y in Windows coordinates, the primary one marked with '*'
# and placed at +0+0; the others may lie left of or above it (negative X or Y):
#
#   "1024x768+0+0* 800x600-800+0 600x800+1024+0"
#
# As a command: brings the desktop up, runs COMMAND with DISPLAY set, tears the desktop down and
# exits with COMMAND's exit code (125 when the desktop could not be made):
#
#   tools/monitor-desktop.sh LAYOUT -- COMMAND [ARGS...]
#   tools/monitor-desktop.sh --plan LAYOUT      # prints the xrandr plan, starts nothing
#
# Sourced (tools/run-under-wine.sh does this when TESSMOOR_MONITORS holds a layout):
#
#   tessmoor_monitors_up LAYOUT WORKDIR   # exports DISPLAY and TESSMOOR_MONITORS_BACKDROP
#   tessmoor_monitors_down
#
# X has no negative coordinates: the whole layout is shifted so that its leftmost and topmost
# monitors touch the root window's left and top edges, and the root window is exactly as large
# as the layout's bounding box. Wine undoes the shift: it puts the primary monitor at 0,0.
# TESSMOOR_MONITORS_BACKDROP is the root window's colour as RRGGBB; every part of the root that
# no monitor covers keeps it, and so does a monitor until a window covers it.
#
# Wine reads the monitors from the server's current RandR resources (what `xrandr --current`
# shows), and there the dummy driver's outputs other than the first stay "disconnected", though
# their CRTCs already run the layout, until some client asks for a full query, which makes the
# server poll its outputs (a plain `xrandr` does); until then Wine sees one monitor. So the layout
# counts as made once, after a full query, `xrandr --current` reports every output connected at
# its place. Whoever starts Wine must start a new wineserver afterwards: Wine reads the layout
# once, when its server starts.
#
# Knobs: TESSMOOR_MONITORS_LIFETIME (seconds after which a forgotten server ends; default 7200).

tessmoor_monitors_backdrop=406080
_tessmoor_monitors_max=16  # the dummy driver's outputs DUMMY0..DUMMY15

_tessmoor_monitors_log() { printf 'monitor-desktop: %s\n' "$*" >&2; }

# Parses LAYOUT into the arrays _tm_w _tm_h _tm_x _tm_y (Windows coordinates) and _tm_primary
# (index), and the root size and shift _tm_root_w _tm_root_h _tm_shift_x _tm_shift_y.
_tessmoor_monitors_parse() {
  local layout=$1 item n=0 re='^([0-9]+)x([0-9]+)([+-][0-9]+)([+-][0-9]+)(\*?)$'
  _tm_w=() _tm_h=() _tm_x=() _tm_y=() _tm_primary=-1
  for item in $layout; do
    if [[ ! $item =~ $re ]]; then
      _tessmoor_monitors_log "bad monitor '$item' (want WxH+X+Y, '*' after the primary one)"
      return 2
    fi
    local w=$((10#${BASH_REMATCH[1]})) h=$((10#${BASH_REMATCH[2]}))
    local x=$((${BASH_REMATCH[3]:0:1}10#${BASH_REMATCH[3]:1}))
    local y=$((${BASH_REMATCH[4]:0:1}10#${BASH_REMATCH[4]:1}))
    if ((w < 64 || h < 64 || w > 4096 || h > 4096)); then
      _tessmoor_monitors_log "monitor '$item': sizes go from 64 to 4096"
      return 2
    fi
    if [[ -n ${BASH_REMATCH[5]} ]]; then
      ((_tm_primary < 0)) || { _tessmoor_monitors_log "more than one primary monitor in '$layout'"; return 2; }
      ((x == 0 && y == 0)) || { _tessmoor_monitors_log "the primary monitor sits at +0+0, not '$item'"; return 2; }
      _tm_primary=$n
    fi
    _tm_w+=("$w") _tm_h+=("$h") _tm_x+=("$x") _tm_y+=("$y")
    n=$((n + 1))
  done
  ((n > 0)) || { _tessmoor_monitors_log "empty layout"; return 2; }
  ((n <= _tessmoor_monitors_max)) || { _tessmoor_monitors_log "at most $_tessmoor_monitors_max monitors"; return 2; }
  ((_tm_primary >= 0)) || { _tessmoor_monitors_log "no primary monitor ('*') in '$layout'"; return 2; }
  local i left=0 top=0 right=0 bottom=0
  for ((i = 0; i < n; i++)); do
    ((_tm_x[i] < left)) && left=${_tm_x[i]}
    ((_tm_y[i] < top)) && top=${_tm_y[i]}
    ((_tm_x[i] + _tm_w[i] > right)) && right=$((_tm_x[i] + _tm_w[i]))
    ((_tm_y[i] + _tm_h[i] > bottom)) && bottom=$((_tm_y[i] + _tm_h[i]))
  done
  _tm_shift_x=$((-left)) _tm_shift_y=$((-top))
  _tm_root_w=$((right - left)) _tm_root_h=$((bottom - top))
  if ((_tm_root_w > 4096 || _tm_root_h > 4096)); then
    _tessmoor_monitors_log "layout '$layout' spans ${_tm_root_w}x$_tm_root_h, more than 4096x4096"
    return 2
  fi
}

# What `xrandr` must report for output i once the layout is made.
_tessmoor_monitors_expected_line() {
  local i=$1 primary=
  ((i == _tm_primary)) && primary=' primary'
  printf 'DUMMY%d connected%s %dx%d+%d+%d\n' "$i" "$primary" "${_tm_w[i]}" "${_tm_h[i]}" \
    "$((_tm_x[i] + _tm_shift_x))" "$((_tm_y[i] + _tm_shift_y))"
}

_tessmoor_monitors_plan() {
  local i
  printf 'root %dx%d, shift %+d%+d\n' "$_tm_root_w" "$_tm_root_h" "$_tm_shift_x" "$_tm_shift_y"
  for ((i = 0; i < ${#_tm_w[@]}; i++)); do _tessmoor_monitors_expected_line "$i"; done
}

_tessmoor_monitors_x() { timeout 10 "$@" </dev/null 2>>"$_tm_dir/xrandr.log"; }

# One attempt at the layout on the running server; true when `xrandr` reports exactly it.
_tessmoor_monitors_apply() {
  local i n=${#_tm_w[@]} mode modeline args=(--fb "${_tm_root_w}x$_tm_root_h")
  for ((i = 0; i < n; i++)); do
    mode=tessmoor${_tm_w[i]}x${_tm_h[i]}
    modeline=$(gtf "${_tm_w[i]}" "${_tm_h[i]}" 60 | sed -n 's/^ *Modeline "[^"]*" *//p')
    [[ -n $modeline ]] || { _tessmoor_monitors_log "gtf gave no mode for ${_tm_w[i]}x${_tm_h[i]}"; return 1; }
    # A mode made by an earlier attempt or for another output is there already.
    # shellcheck disable=SC2086
    _tessmoor_monitors_x xrandr --newmode "$mode" $modeline 2>/dev/null
    _tessmoor_monitors_x xrandr --addmode "DUMMY$i" "$mode" 2>/dev/null
    args+=(--output "DUMMY$i" --mode "$mode"
           --pos "$((_tm_x[i] + _tm_shift_x))x$((_tm_y[i] + _tm_shift_y))")
    ((i == _tm_primary)) && args+=(--primary)
  done
  _tessmoor_monitors_x xrandr "${args[@]}" || return 1
  # The full query that makes the server poll its outputs (see the top of this file); then the
  # server's current resources, which is what Wine reads, must hold the layout.
  _tessmoor_monitors_x xrandr >/dev/null || return 1
  local report
  report=$(_tessmoor_monitors_x xrandr --current) || return 1
  printf '%s\n' "$report" >"$_tm_dir/xrandr.txt"
  grep -q "^Screen 0: .*current $_tm_root_w x $_tm_root_h," <<<"$report" || return 1
  [[ $(grep -c '^DUMMY[0-9]* connected' <<<"$report") == "$n" ]] || return 1
  local want
  for ((i = 0; i < n; i++)); do
    want=$(_tessmoor_monitors_expected_line "$i")
    awk -v want="$want " 'index($0, want) == 1 { found = 1 } END { exit !found }' <<<"$report" || return 1
  done
  _tessmoor_monitors_x xsetroot -solid "#$tessmoor_monitors_backdrop"
}

_tessmoor_monitors_write_config() {
  cat >"$1" <<'EOF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoAddGPU" "false"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 4096 4096
  EndSubSection
EndSection
EOF
}

# Starts Xorg on a free display number; sets _tm_pid and DISPLAY.
_tessmoor_monitors_start_server() {
  local n tries=0 deadline lifetime=${TESSMOOR_MONITORS_LIFETIME:-7200}
  n=$((600 + RANDOM % 300))
  while ((tries++ < 40)); do
    n=$((n + 1))
    ((n > 899)) && n=600
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    timeout "$lifetime" Xorg ":$n" -config "$_tm_dir/xorg.conf" -noreset -nolisten tcp \
      -logfile "$_tm_dir/xorg.$n.log" </dev/null >>"$_tm_dir/xorg.out" 2>&1 &
    _tm_pid=$!
    deadline=$((SECONDS + 15))
    while ((SECONDS < deadline)); do
      kill -0 "$_tm_pid" 2>/dev/null || break  # lost the race for this number: try the next
      if timeout 5 xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=:$n
        return 0
      fi
      sleep 0.1
    done
    _tessmoor_monitors_stop_server
  done
  _tessmoor_monitors_log "could not start Xorg (see $_tm_dir/xorg.out and $_tm_dir/xorg.*.log)"
  return 1
}

_tessmoor_monitors_stop_server() {
  [[ -n ${_tm_pid:-} ]] || return 0
  kill "$_tm_pid" 2>/dev/null
  local i
  for ((i = 0; i < 50; i++)); do
    kill -0 "$_tm_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$_tm_pid" 2>/dev/null
  wait "$_tm_pid" 2>/dev/null
  _tm_pid=
}

# tessmoor_monitors_up LAYOUT WORKDIR
tessmoor_monitors_up() {
  local layout=$1 workdir=$2 tool attempt
  [[ -n $workdir ]] || { _tessmoor_monitors_log "usage: tessmoor_monitors_up LAYOUT WORKDIR"; return 2; }
  _tessmoor_monitors_parse "$layout" || return 2
  for tool in Xorg xrandr gtf xsetroot xdpyinfo; do
    command -v "$tool" >/dev/null || { _tessmoor_monitors_log "$tool not found (run tools/setup.sh)"; return 1; }
  done
  [[ -f /usr/lib/xorg/modules/drivers/dummy_drv.so ]] ||
    { _tessmoor_monitors_log "the dummy video driver is missing (run tools/setup.sh)"; return 1; }
  _tm_dir=$workdir/monitors
  mkdir -p "$_tm_dir" || return 1
  _tm_dir=$(cd "$_tm_dir" && pwd)
  : >"$_tm_dir/xrandr.log"
  : >"$_tm_dir/xorg.out"
  _tessmoor_monitors_write_config "$_tm_dir/xorg.conf"
  _tessmoor_monitors_plan >"$_tm_dir/plan.txt"
  local started=${EPOCHREALTIME/./} outputs
  outputs=$(seq -s '|' 0 $((${#_tm_w[@]} - 1)))
  # A server whose outputs will not take the layout is replaced by a new one.
  for attempt in 1 2 3; do
    _tessmoor_monitors_start_server || return 1
    local try
    for try in 1 2 3; do
      if _tessmoor_monitors_apply; then
        export TESSMOOR_MONITORS_BACKDROP=$tessmoor_monitors_backdrop
        # A record of how the desktop came up, for judging how reliable it is.
        printf '%s: %s made on %s in %d ms (server %d, layout try %d)\n' "$(date -Is)" "$layout" \
          "$DISPLAY" "$(((${EPOCHREALTIME/./} - started) / 1000))" "$attempt" "$try" >>"$_tm_dir/desktop.log"
        return 0
      fi
      sleep 0.2
    done
    _tessmoor_monitors_log "attempt $attempt: $DISPLAY did not take the layout (xrandr --current said:)"
    grep -E "^(Screen|DUMMY($outputs) )" "$_tm_dir/xrandr.txt" 2>/dev/null | sed 's/^/  /' >&2
    _tessmoor_monitors_stop_server
    unset DISPLAY
  done
  _tessmoor_monitors_log "no desktop with layout '$layout'"
  return 1
}

tessmoor_monitors_down() {
  _tessmoor_monitors_stop_server
  return 0
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  set -uo pipefail
  if [[ ${1:-} == --plan && $# == 2 ]]; then
    _tessmoor_monitors_parse "$2" || exit 2
    _tessmoor_monitors_plan
    exit 0
  fi
  if (($# < 3)) || [[ $2 != -- ]]; then
    echo "usage: $0 LAYOUT -- COMMAND [ARGS...]  |  $0 --plan LAYOUT" >&2
    exit 2
  fi
  layout=$1
  shift 2
  workdir=$(mktemp -d "${TMPDIR:-/tmp}/tessmoor-monitors.XXXXXX") || exit 125
  trap 'tessmoor_monitors_down; rm -rf "$workdir"' EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  tessmoor_monitors_up "$layout" "$workdir" || exit 125
  "$@"
fi
