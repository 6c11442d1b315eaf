#!/usr/bin/env bash
# Builds a Tessmoor release from a clone: both Windows modules, the help file, the installer and a
# zip, with SHA-256 checksums, in one folder:
#
#   build/release/
#     x64/Tessmoor.scr, Tessmoor.chm the module for 64-bit Windows, with the help file beside it
#     x86/Tessmoor.scr, Tessmoor.chm the module for 32-bit Windows, likewise
#     Tessmoor.chm                   the help file alone
#     Tessmoor-<version>-setup.exe   the installer, holding both modules
#     Tessmoor-<version>.zip         x64/ and x86/, for copying by hand
#     SHA256SUMS                     the checksums of the files above (sha256sum -c SHA256SUMS)
#
#   tools/release.sh [--clean] [--no-test]
#
# It configures and builds two Windows trees of its own, build/release-win64 and build/release-win32
# (the presets of the same names in CMakePresets.json), strips the modules' debugging symbols, and
# builds the installer from resources/installer/tessmoor.nsi. Then, unless --no-test is given,
# it runs the install tests of the end-to-end driver on the release installer itself: in a 64-bit
# prefix it must install the x64 module, in a 32-bit prefix the x86 one.
#
#   --clean     remove both trees first, so that nothing of an earlier build is used
#   --no-test   skip the install tests
# Environment: TESSMOOR_BUILD_DIR (default <repo>/build) holds the trees and the release folder,
# and, unless TESSMOOR_DEPS_DIR says otherwise, the cross-built dependencies.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
clean=0 test=1
for arg; do
  case $arg in
    --clean) clean=1 ;;
    --no-test) test=0 ;;
    *) echo "usage: $0 [--clean] [--no-test]" >&2; exit 2 ;;
  esac
done
build_root=${TESSMOOR_BUILD_DIR:-$repo/build}
mkdir -p "$build_root"
build_root=$(cd "$build_root" && pwd)
release=$build_root/release
# The trees share one cross-built libjpeg-turbo with the test trees, and one pristine prefix of
# each kind.
export TESSMOOR_DEPS_DIR=${TESSMOOR_DEPS_DIR:-$build_root/deps}
export TESSMOOR_WINE_CACHE_DIR=${TESSMOOR_WINE_CACHE_DIR:-$build_root/wine-cache}

say() { printf 'release: %s\n' "$*" >&2; }
die() { say "$*"; exit 1; }

bash "$repo/tools/setup.sh" || die "tools/setup.sh failed"

build_tree() {  # build_tree PRESET TARGETS...
  local name=$1; shift
  local dir=$build_root/$name log=$build_root/$name.log
  ((clean)) && rm -rf "$dir"
  say "building $name ($dir, log $log)"
  if ! { cmake -S "$repo" --preset "$name" -B "$dir" &&
         cmake --build "$dir" --parallel 2 --target "$@"; } >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    die "building $name failed"
  fi
}

targets=(Tessmoor tessmoor_help)
((test)) && targets+=(tessmoor_e2e)
build_tree release-win64 "${targets[@]}"
build_tree release-win32 "${targets[@]}"
win64=$build_root/release-win64 win32=$build_root/release-win32

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win64/CMakeCache.txt")
[[ -n $version ]] || die "no project version in $win64/CMakeCache.txt"

# Each module must be what its folder says: a mix-up here would install a module Windows cannot run.
check_machine() {  # check_machine FILE EXPECTED-objdump-format
  local format
  format=$(x86_64-w64-mingw32-objdump -f "$1" | sed -n 's/.*file format //p')
  [[ $format == "$2" ]] || die "$1 is $format, not $2"
}
check_machine "$win64/Tessmoor.scr" pei-x86-64
check_machine "$win32/Tessmoor.scr" pei-i386

rm -rf "$release"
mkdir -p "$release/x64" "$release/x86"
x86_64-w64-mingw32-strip -o "$release/x64/Tessmoor.scr" "$win64/Tessmoor.scr"
i686-w64-mingw32-strip -o "$release/x86/Tessmoor.scr" "$win32/Tessmoor.scr"
cp "$win64/Tessmoor.chm" "$release/Tessmoor.chm"
# The version dialog's help button looks for the help file in the module's own folder.
cp "$release/Tessmoor.chm" "$release/x64/Tessmoor.chm"
cp "$release/Tessmoor.chm" "$release/x86/Tessmoor.chm"

installer=Tessmoor-$version-setup.exe
say "building $installer"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DOUTFILE="$release/$installer" \
  -DICON="$win64/generated/tessmoor.ico" -DWIZARD="$win64/generated/installer-wizard.bmp" -DCHM="$release/Tessmoor.chm" \
  -DSCR64="$release/x64/Tessmoor.scr" -DSCR32="$release/x86/Tessmoor.scr" \
  "$repo/resources/installer/tessmoor.nsi" >"$build_root/release.nsis.log" 2>&1 ||
  { cat "$build_root/release.nsis.log" >&2; die "makensis failed"; }

zip=Tessmoor-$version.zip
# The files carry the time of the last commit, so the same commit gives the same zip.
stamp=$(TZ=UTC git -C "$repo" log -1 --format=%cd --date=format-local:'%Y-%m-%d %H:%M:%S UTC' 2>/dev/null ||
  date -u '+%Y-%m-%d %H:%M:%S UTC')
(cd "$release" && cmake -E tar cf "$zip" --format=zip --mtime="$stamp" x64 x86)

(cd "$release" && sha256sum x64/Tessmoor.scr x86/Tessmoor.scr Tessmoor.chm "$installer" "$zip" >SHA256SUMS)

if ((test)); then
  # The install tests of the driver, on the release installer; the driver compares what lands in
  # System32 with --module, so each run names the module that system must get.
  run_install_tests() {  # run_install_tests ARCH TREE MODULE [WINEARCH]
    local arch=$1 tree=$2 module=$3 log=$build_root/release-test-$1.log
    say "testing the installer in a $arch prefix (log $log)"
    if ! TESSMOOR_RELEASE_E2E=1 TESSMOOR_INSTALLER="$release/$installer" \
         TESSMOOR_HELP_SOURCE="$repo/resources/help" TESSMOOR_WINEARCH=${4:-} \
         bash "$repo/tools/run-under-wine.sh" "$arch" "$build_root/release-test-$arch" -- \
           "$tree/tessmoor_e2e.exe" --module="$module" --artifacts="$build_root/release-test-$arch/artifacts" \
           --gtest_filter='ReleaseInstall*' >"$log" 2>&1 ||
       ! grep -q '\[  PASSED  \]' "$log" || grep -q '\[  SKIPPED \]' "$log"; then
      grep -E '^\[|Failure|Expected|Which is' "$log" | tail -n 40 >&2
      die "the install tests failed in the $arch prefix"
    fi
  }
  run_install_tests win64 "$win64" "$release/x64/Tessmoor.scr"
  run_install_tests win32 "$win32" "$release/x86/Tessmoor.scr" win32
fi

say "release $version in $release:"
(cd "$release" && ls -l x64/Tessmoor.scr x86/Tessmoor.scr Tessmoor.chm "$installer" "$zip" SHA256SUMS >&2)
