# shellcheck shell=bash
# A private Wine session for the end-to-end tests and the show: a virtual X display, a fresh Wine
# prefix set up for a window manager-less display with Japanese fonts, and one persistent
# wineserver. Meant to be sourced:
#
#   source tools/wine-env.sh
#   tessmoor_wine_up win64 "$workdir" [1024x768]   # exports DISPLAY WINEPREFIX WINEARCH WINEDEBUG
#   wine some.exe ...                               #   and WINEDLLOVERRIDES
#   tessmoor_wine_down
#
#   tessmoor_alsa_file_device PATH   # sound goes to PATH as raw PCM (exports ALSA_CONFIG_PATH);
#                                    # call it before starting the program that plays
#
# Both architectures run in a 64-bit prefix: 32-bit modules run there through wine32, as they do
# on 64-bit Windows (HKLM\Software is then redirected to Wow6432Node for them; HKCU\Software is
# shared). TESSMOOR_WINEARCH=win32 makes a pure 32-bit prefix instead, for the win32 arch.
#
# The first set-up under a folder keeps a pristine prefix in WORKDIR/../.wine-pristine-ARCH-KEY;
# later ones copy it (DLLs hard-linked) in about a second instead of a 15 s wineboot. KEY covers
# the installed Wine packages, this file and the prefix kind, so a stale copy is never used.
# TESSMOOR_WINE_CACHE_DIR puts the pristine prefixes elsewhere (several build folders can share
# them); TESSMOOR_WINE_CACHE=0 turns the copy off.
#
# Other knobs: TESSMOOR_WINEDEBUG (default -all), TESSMOOR_WINE_USE_DISPLAY=1 (use the caller's
# $DISPLAY instead of a private Xvfb), TESSMOOR_WINE_LIFETIME (seconds after which a forgotten
# Xvfb ends by itself; default 7200), TESSMOOR_WINESERVER_IDLE (seconds the server stays once
# no program runs; default 600).

tessmoor_wine_env_file=${BASH_SOURCE[0]}

_tessmoor_log() { printf 'wine-env: %s\n' "$*" >&2; }

# Runs a Wine command bounded in time and detached from the caller's pipes, so that the helper
# processes it leaves behind cannot hold a pipe open.
_tessmoor_wine_quiet() {
  local limit=$1; shift
  timeout "$limit" "$@" </dev/null >>"$TESSMOOR_WINE_LOG" 2>&1
}

_tessmoor_start_xvfb() {
  local size=$1 n tries=0 deadline
  local lifetime=${TESSMOOR_WINE_LIFETIME:-7200}
  n=$((100 + RANDOM % 400))
  while ((tries++ < 60)); do
    n=$((n + 1))
    ((n > 599)) && n=100
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    timeout "$lifetime" Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset \
      </dev/null >>"$TESSMOOR_WINE_WORKDIR/xvfb.log" 2>&1 &
    TESSMOOR_XVFB_PID=$!
    deadline=$((SECONDS + 10))
    while ((SECONDS < deadline)); do
      if ! kill -0 "$TESSMOOR_XVFB_PID" 2>/dev/null; then
        break  # lost the race for this display number: try the next one
      fi
      if timeout 5 xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=:$n
        TESSMOOR_XVFB_DISPLAY=:$n
        return 0
      fi
      sleep 0.1
    done
    kill "$TESSMOOR_XVFB_PID" 2>/dev/null || true
    wait "$TESSMOOR_XVFB_PID" 2>/dev/null || true
    TESSMOOR_XVFB_PID=
  done
  _tessmoor_log "could not start Xvfb (see $TESSMOOR_WINE_WORKDIR/xvfb.log)"
  return 1
}

# UTF-16 text as the comma-separated hex bytes that .reg files use for REG_MULTI_SZ.
_tessmoor_reg_multi_sz() {
  printf '%s\0\0' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 |
    tr -s ' \n' ',' | sed 's/^,//; s/,$//'
}

# The settings a display without a window manager and the Japanese captions need.
_tessmoor_write_prefix_reg() {
  local out=$1 link key
  link=$(_tessmoor_reg_multi_sz "ipagp.ttf,IPAPGothic")
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Decorated"="N"\r\n"Managed"="N"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"ＭＳ Ｐゴシック"="IPAPGothic"\r\n"MS PGothic"="IPAPGothic"\r\n'
    printf '"MS UI Gothic"="IPAPGothic"\r\n"Meiryo"="IPAPGothic"\r\n"ＭＳ ゴシック"="IPAGothic"\r\n\r\n'
    # Both registry views, so that 32-bit modules in a 64-bit prefix link the same way.
    for key in 'Software' 'Software\Wow6432Node'; do
      printf '[HKEY_LOCAL_MACHINE\\%s\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n' "$key"
      printf '"Tahoma"=hex(7):%s\r\n"Tahoma Bold"=hex(7):%s\r\n' "$link" "$link"
      printf '"MS Sans Serif"=hex(7):%s\r\n"Segoe UI"=hex(7):%s\r\n\r\n' "$link" "$link"
    done
  } | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$out"
}

_tessmoor_cache_key() {
  {
    dpkg-query -W -f='${Package}:${Architecture}=${Version} ${db:Status-Abbrev}\n' \
      wine wine64 libwine:amd64 libwine:i386 wine32:i386 fonts-wine 2>/dev/null
    echo "arch=$WINEARCH home=${HOME:-}"
    cat "$tessmoor_wine_env_file"
  } | sha256sum | cut -c1-16
}

# Makes a new prefix in $1 with our settings; needs DISPLAY. Leaves no server running.
_tessmoor_make_prefix() {
  local dir=$1
  rm -rf "$dir"
  mkdir -p "$dir"
  (
    export WINEPREFIX=$dir
    # A server started first serves wineboot and the settings import without the 3 s exit delay.
    failed() { _tessmoor_log "$1"; _tessmoor_wine_quiet 30 wineserver -k; exit 1; }
    _tessmoor_wine_quiet 30 wineserver -p || failed "wineserver did not start"
    _tessmoor_wine_quiet 180 wineboot -i || failed "wineboot failed"
    # Debian's Wine does not look for its own fonts (Tahoma, Marlett) outside the prefix.
    ln -sf /usr/share/wine/fonts/* "$dir/drive_c/windows/Fonts/" || failed "no Wine fonts to link"
    _tessmoor_write_prefix_reg "$dir/tessmoor-settings.reg"
    _tessmoor_wine_quiet 60 wine reg import "$(_tessmoor_winepath "$dir/tessmoor-settings.reg")" ||
      failed "importing the prefix settings failed"
    _tessmoor_wine_quiet 60 wineserver -k  # writes the registry to disk
    _tessmoor_wine_quiet 60 wineserver -w
    grep -q 'IPAPGothic' "$dir/user.reg" || { _tessmoor_log "settings missing from user.reg"; exit 1; }
  )
}

# A Windows path for a Unix one, without starting Wine (Z: is the root folder).
_tessmoor_winepath() { local p=$1; printf 'Z:%s' "${p//\//\\}"; }

# Copies a pristine prefix: every small file (the registry, ini files) copied, so that nothing a
# test writes can reach the pristine copy; the large read-only binaries then hard-linked.
_tessmoor_copy_prefix() {
  local from=$1 to=$2
  timeout 120 rm -rf "$to"
  mkdir -p "$to" || return 1
  (cd "$from" && find . -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.nls' \
      -o -iname '*.drv' -o -iname '*.sys' -o -iname '*.vxd' -o -iname '*.ocx' -o -iname '*.cpl' \
      -o -iname '*.acm' -o -iname '*.tlb' -o -iname '*.ds' -o -iname '*.ax' -o -iname '*.com' \
      -o -iname '*.msstyles' -o -iname '*.mod' -o -iname '*.icm' \) -print0 |
    timeout 120 tar --null -T - -cf -) | (cd "$to" && timeout 120 tar -xf -) || return 1
  timeout 120 cp -aln "$from/." "$to/" || return 1
  [[ -f $to/system.reg && $(stat -c %h "$to/user.reg") == 1 ]]
}

_tessmoor_prepare_prefix() {
  local prefix=$1 cache_root key pristine
  if [[ ${TESSMOOR_WINE_CACHE:-1} == 0 ]]; then
    _tessmoor_make_prefix "$prefix"
    return
  fi
  cache_root=${TESSMOOR_WINE_CACHE_DIR:-$(dirname "$TESSMOOR_WINE_WORKDIR")}
  mkdir -p "$cache_root" || return 1
  key=$(_tessmoor_cache_key)
  pristine=$cache_root/.wine-pristine-$WINEARCH-$key
  # The copy is made under the lock too, so that no other set-up removes a pristine prefix
  # (after a Wine upgrade) while it is being copied.
  (
    exec 8>"$cache_root/.wine-pristine.lock"
    timeout 300 flock 8 || { _tessmoor_log "timed out waiting for the prefix cache lock"; exit 1; }
    if [[ ! -f $pristine/.complete ]]; then
      local old
      for old in "$cache_root/.wine-pristine-$WINEARCH"-*; do
        [[ -d $old && $old != "$pristine" ]] && rm -rf "$old"
      done
      _tessmoor_make_prefix "$pristine/prefix" || exit 1
      touch "$pristine/.complete"
    fi
    _tessmoor_copy_prefix "$pristine/prefix" "$prefix" ||
      { _tessmoor_log "copying the pristine prefix failed"; exit 1; }
  )
}

# tessmoor_wine_up ARCH WORKDIR [WxH]
tessmoor_wine_up() {
  local arch=$1 workdir=$2 size=${3:-1024x768}
  if [[ $arch != win64 && $arch != win32 ]] || [[ -z $workdir ]]; then
    _tessmoor_log "usage: tessmoor_wine_up win64|win32 WORKDIR [WxH]"
    return 2
  fi
  [[ $size =~ ^[0-9]+x[0-9]+$ ]] || { _tessmoor_log "bad screen size '$size'"; return 2; }
  local tool
  for tool in wine wineserver wineboot Xvfb xdpyinfo iconv flock; do
    command -v "$tool" >/dev/null || { _tessmoor_log "$tool not found (run tools/setup.sh)"; return 1; }
  done
  # Without wine32 a 32-bit module "runs" and exits 0 at once, which would pass exit-code checks.
  if [[ $arch == win32 && ! -x /usr/lib/wine/wine ]]; then
    _tessmoor_log "wine32 is not installed (run tools/setup.sh)"
    return 1
  fi
  mkdir -p "$workdir" || return 1
  TESSMOOR_WINE_WORKDIR=$(cd "$workdir" && pwd)
  TESSMOOR_WINE_LOG=$TESSMOOR_WINE_WORKDIR/wine-env.log
  : >"$TESSMOOR_WINE_LOG"
  local prefix=$TESSMOOR_WINE_WORKDIR/wineprefix
  if [[ -d $prefix ]]; then
    WINEPREFIX=$prefix _tessmoor_wine_quiet 20 wineserver -k || true
  fi

  export WINEARCH=win64
  [[ $arch == win32 && ${TESSMOOR_WINEARCH:-} == win32 ]] && WINEARCH=win32
  export WINEDEBUG=${TESSMOOR_WINEDEBUG:--all}
  # No Mono or Gecko prompts, and no desktop menu entries written into $HOME.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

  TESSMOOR_XVFB_PID=
  TESSMOOR_XVFB_DISPLAY=
  if [[ ${TESSMOOR_WINE_USE_DISPLAY:-0} == 1 && -n ${DISPLAY:-} ]]; then
    timeout 10 xdpyinfo >/dev/null 2>&1 || { _tessmoor_log "display $DISPLAY does not answer"; return 1; }
  else
    _tessmoor_start_xvfb "$size" || return 1
  fi

  export WINEPREFIX=$prefix
  if ! _tessmoor_prepare_prefix "$prefix"; then
    _tessmoor_log "prefix set-up failed (log: $TESSMOOR_WINE_LOG)"
    tessmoor_wine_down
    return 1
  fi
  local idle=${TESSMOOR_WINESERVER_IDLE:-600}
  # One server for the whole session, detached from every pipe: a server that inherited the
  # caller's stdout keeps $(wine ...) waiting for as long as it lives.
  if ! _tessmoor_wine_quiet 30 wineserver -p"$idle" ||
     ! _tessmoor_wine_quiet 120 wine cmd /c exit; then
    _tessmoor_log "wineserver did not start (log: $TESSMOOR_WINE_LOG)"
    tessmoor_wine_down
    return 1
  fi
}

tessmoor_wine_down() {
  if [[ -n ${WINEPREFIX:-} && -d ${WINEPREFIX:-} ]]; then
    timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
    timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
  fi
  if [[ -n ${TESSMOOR_XVFB_PID:-} ]]; then
    kill "$TESSMOOR_XVFB_PID" 2>/dev/null || true
    local i
    for ((i = 0; i < 50; i++)); do
      kill -0 "$TESSMOOR_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$TESSMOOR_XVFB_PID" 2>/dev/null || true
    wait "$TESSMOOR_XVFB_PID" 2>/dev/null || true
    if [[ ${DISPLAY:-} == "$TESSMOOR_XVFB_DISPLAY" ]]; then unset DISPLAY; fi
  fi
  TESSMOOR_XVFB_PID=
  TESSMOOR_XVFB_DISPLAY=
  return 0
}

# tessmoor_alsa_file_device PATH: a default ALSA device that writes the raw PCM it is given to
# PATH (the machines have no sound card), so that a test can check what was played.
tessmoor_alsa_file_device() {
  local path=$1
  [[ -n $path ]] || { _tessmoor_log "usage: tessmoor_alsa_file_device PATH"; return 2; }
  mkdir -p "$(dirname "$path")" || return 1
  path=$(cd "$(dirname "$path")" && pwd)/$(basename "$path")
  local conf=$path.alsa.conf
  [[ -f /usr/share/alsa/alsa.conf ]] || { _tessmoor_log "no /usr/share/alsa/alsa.conf"; return 1; }
  cat >"$conf" <<EOF
</usr/share/alsa/alsa.conf>
pcm.!default {
  type file
  slave.pcm "null"
  file "$path"
  format raw
}
EOF
  : >"$path"
  export ALSA_CONFIG_PATH=$conf
}
