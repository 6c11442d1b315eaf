#!/usr/bin/env bash
# Installs the Debian packages that the native build, the Windows cross builds, the Wine end-to-end
# tests and the release tools need, on a Debian 12 machine. Fast and silent when everything is in
# place; runs apt-get (as root) only when something is missing.
#
#   tools/setup.sh          install what is missing (root), or print the apt-get line to run
#
# Environment: TESSMOOR_SETUP_QUIET=1 prints nothing when nothing had to be done (the default).
set -euo pipefail

# One line per purpose, so that a missing piece is easy to trace back to what needs it.
packages=(
  cmake ninja-build g++ pkg-config                                        # native build
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64  # Windows builds
  nasm dpkg-dev                                                           # libjpeg-turbo from source
  wine wine64 wine32:i386 fonts-wine                                      # running the module
  xvfb xauth x11-utils imagemagick fonts-ipafont-gothic                   # display and screenshots
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils            # desktops of several monitors
  libjpeg62-turbo-dev libgtest-dev libgmock-dev libbenchmark-dev          # native libraries, tests
  zlib1g-dev                                                              # reading back test PNGs
  clang libclang-rt-14-dev                                                # libFuzzer
  fp-utils nsis libchm-bin                                                # help file and installer
  python3
)
# fonts-wine holds Tahoma and Marlett, which libwine only recommends; without it the prefix has
# no UI fonts at all.

apt_timeout=${TESSMOOR_APT_TIMEOUT:-1800}
apt_opts=(-y -q --no-install-recommends -o DPkg::Lock::Timeout=300)

say() { printf 'setup: %s\n' "$*" >&2; }

missing_packages() {
  local p status
  for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null || true)
    [[ $status == ii* ]] || printf '%s\n' "$p"
  done
}

have_i386() {
  [[ $(dpkg --print-architecture) == i386 ]] || dpkg --print-foreign-architectures | grep -qx i386
}

# True when some enabled apt source has a deb-src entry for Debian.
have_deb_src() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f $f ]] && grep -Eq '^[[:space:]]*deb-src[[:space:]]' "$f" && return 0
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -f $f ]] || continue
    # A deb822 paragraph counts when its Types has deb-src and it is not switched off.
    awk 'BEGIN { RS = ""; found = 0 }
         {
           types = 0; off = 0
           n = split($0, lines, "\n")
           for (i = 1; i <= n; i++) {
             if (lines[i] ~ /^[Tt]ypes:.*deb-src/) types = 1
             if (lines[i] ~ /^[Ee]nabled:[[:space:]]*(no|false)/) off = 1
           }
           if (types && !off) found = 1
         }
         END { exit found ? 0 : 1 }' "$f" && return 0
  done
  return 1
}

# apt-get source needs the Sources indexes, which only apt-get update fetches.
have_source_indexes() {
  compgen -G '/var/lib/apt/lists/*_source_Sources*' >/dev/null
}

# Adds deb-src twins of the machine's own Debian entries (same mirrors, suites and keys) in a
# separate file, so the machine's files stay as they were.
add_deb_src() {
  local main=/etc/apt/sources.list.d/debian.sources
  local out_sources=/etc/apt/sources.list.d/tessmoor-deb-src.sources
  local out_list=/etc/apt/sources.list.d/tessmoor-deb-src.list
  if [[ -f $main ]] && grep -Eq '^[Tt]ypes:.*\bdeb\b' "$main"; then
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         {
           n = split($0, lines, "\n"); out = ""; keep = 0
           for (i = 1; i <= n; i++) {
             line = lines[i]
             if (line ~ /^#/) continue
             if (line ~ /^[Tt]ypes:/) {
               if (line ~ /[[:space:]]deb([[:space:]]|$)/) keep = 1
               line = "Types: deb-src"
             }
             out = out line "\n"
           }
           if (keep) printf "%s\n", out
         }' "$main" >"$out_sources"
    say "added deb-src entries in $out_sources"
  elif [[ -f /etc/apt/sources.list ]] && grep -Eq '^[[:space:]]*deb[[:space:]]' /etc/apt/sources.list; then
    sed -En 's/^[[:space:]]*deb([[:space:]])/deb-src\1/p' /etc/apt/sources.list >"$out_list"
    say "added deb-src entries in $out_list"
  else
    cat >"$out_sources" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    say "added the default Debian deb-src entry in $out_sources"
  fi
}

mapfile -t missing < <(missing_packages)
need_arch=0; have_i386 || need_arch=1
need_src=0; have_deb_src || need_src=1
need_update=0
if ((${#missing[@]} || need_arch || need_src)) || ! have_source_indexes; then
  need_update=1
fi

if ((!need_update)); then
  [[ ${TESSMOOR_SETUP_QUIET:-1} == 1 ]] || say "everything is installed"
  exit 0
fi

if ((EUID != 0)); then
  say "needs root to install: ${missing[*]:-(no packages)}"
  ((need_arch)) && say "and to enable the i386 architecture (dpkg --add-architecture i386)"
  ((need_src)) && say "and to add a deb-src entry for apt-get source"
  say "run this script as root, or:"
  if ((${#missing[@]})); then
    echo "apt-get install -y --no-install-recommends ${missing[*]}"
  else
    echo "apt-get update"
  fi
  exit 1
fi

if ((need_arch)); then
  say "enabling the i386 architecture (for wine32)"
  dpkg --add-architecture i386
fi
((need_src)) && add_deb_src

say "apt-get update"
if ! timeout "$apt_timeout" apt-get -q -o DPkg::Lock::Timeout=300 update >/tmp/tessmoor-apt-update.log 2>&1; then
  cat /tmp/tessmoor-apt-update.log >&2
  say "apt-get update failed"
  exit 1
fi

if ((${#missing[@]})); then
  say "installing: ${missing[*]}"
  if ! DEBIAN_FRONTEND=noninteractive timeout "$apt_timeout" \
      apt-get install "${apt_opts[@]}" "${missing[@]}" >/tmp/tessmoor-apt-install.log 2>&1; then
    tail -n 60 /tmp/tessmoor-apt-install.log >&2
    say "apt-get install failed (full log: /tmp/tessmoor-apt-install.log)"
    exit 1
  fi
fi

mapfile -t still < <(missing_packages)
if ((${#still[@]})); then
  say "still missing after install: ${still[*]}"
  exit 1
fi
if ! have_deb_src || ! have_source_indexes; then
  say "no Debian source indexes after apt-get update: apt-get source will not work"
  exit 1
fi
say "done"
