#!/usr/bin/env bash
# Cross-builds libjpeg-turbo as a static library, with its SIMD code, for one mingw-w64 target,
# from Debian's own source package at one exact version (so the Windows module decodes with the
# same code, patches included, as the native build links from libjpeg62-turbo-dev).
#
#   tools/build-libjpeg-turbo.sh x86_64-w64-mingw32|i686-w64-mingw32 PREFIX VERSION
#
# VERSION is a Debian source version of libjpeg-turbo, epoch included (1:2.1.5-2). Leaves
# PREFIX/include/{jpeglib,jconfig,jmorecfg,jerror}.h, PREFIX/lib/libjpeg.a and, last of all,
# PREFIX/.built; a PREFIX that is already built is left as it is. The source package is fetched
# once per version into PREFIX's parent folder and reused by the other target. Quiet on success;
# the full log is PREFIX.log, and its tail is printed on failure.
set -euo pipefail

if (($# != 3)); then
  echo "usage: $0 x86_64-w64-mingw32|i686-w64-mingw32 PREFIX VERSION" >&2
  exit 2
fi
triple=$1
prefix=$2
version=$3
case $triple in
  x86_64-w64-mingw32) processor=AMD64; simd_dir=x86_64 ;;
  i686-w64-mingw32) processor=X86; simd_dir=i386 ;;
  *) echo "$0: unknown target '$triple'" >&2; exit 2 ;;
esac
[[ $version =~ ^([0-9]+:)?[0-9][A-Za-z0-9.+~-]*$ ]] || { echo "$0: bad version '$version'" >&2; exit 2; }

mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")
deps_dir=$(dirname "$prefix")
src_root=$deps_dir/libjpeg-turbo-src-${version//:/_}
build_dir=$prefix.build
log=$prefix.log

# Several build folders may ask for the same library at once: one builds it, the others wait and
# then find it built.
exec 8>"$prefix.lock"
timeout 1800 flock 8 || { echo "$0: timed out waiting for $prefix.lock" >&2; exit 1; }
if [[ -f $prefix/.built && -f $prefix/lib/libjpeg.a ]]; then
  # Newer than this script, so that the build that asked sees its output up to date.
  touch "$prefix/lib/libjpeg.a"
  exit 0
fi
: >"$log"

fail() {
  echo "build-libjpeg-turbo ($triple): $*" >&2
  if [[ -s $log ]]; then
    echo "---- last lines of $log ----" >&2
    tail -n 40 "$log" >&2
  fi
  exit 1
}
step() { printf '\n== %s\n' "$*" >>"$log"; }
run() {  # run TIMEOUT CMD...: logged, bounded
  local limit=$1; shift
  printf '$ %s\n' "$*" >>"$log"
  timeout "$limit" "$@" >>"$log" 2>&1 || fail "failed ($?): $*"
}

# The version the first line of an unpacked tree's debian/changelog names.
changelog_version() {
  sed -n '1s/^[^ ]* (\([^)]*\)).*/\1/p' "$1/debian/changelog" 2>/dev/null
}

for tool in "$triple-gcc-posix" "$triple-ar" "$triple-nm" "$triple-windres" nasm cmake ninja; do
  command -v "$tool" >/dev/null || fail "$tool not found (run tools/setup.sh)"
done

# Both targets may be built at once: one fetch, one unpack.
exec 9>"$src_root.lock"
timeout 900 flock 9 || fail "timed out waiting for $src_root.lock"
if [[ ! -f $src_root/.unpacked ]]; then
  step "fetching Debian's source package libjpeg-turbo $version"
  rm -rf "$src_root"
  mkdir -p "$src_root"
  printf '$ apt-get source -q libjpeg-turbo=%s\n' "$version" >>"$log"
  (cd "$src_root" && timeout 600 apt-get source -q "libjpeg-turbo=$version") >>"$log" 2>&1 ||
    fail "apt-get source libjpeg-turbo=$version failed: that version is no longer in the apt" \
      "sources (upgrade libjpeg62-turbo-dev and run apt-get update), or deb-src entries are" \
      "missing (run tools/setup.sh)"
  touch "$src_root/.unpacked"
fi
flock -u 9
src_dir=$(find "$src_root" -mindepth 2 -maxdepth 2 -name CMakeLists.txt -printf '%h\n' | head -n 1)
[[ -n $src_dir && -f $src_dir/jpeglib.h ]] || fail "no unpacked libjpeg-turbo tree in $src_root"
unpacked=$(changelog_version "$src_dir")
[[ $unpacked == "$version" ]] || fail "$src_dir is libjpeg-turbo '$unpacked', not $version"
step "source: $src_dir ($unpacked)"

rm -rf "$build_dir" "$prefix"
mkdir -p "$build_dir"
cat >"$build_dir/toolchain.cmake" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR $processor)
set(CMAKE_C_COMPILER $triple-gcc-posix)
set(CMAKE_RC_COMPILER $triple-windres)
set(CMAKE_AR $(command -v "$triple-ar"))
set(CMAKE_RANLIB $(command -v "$triple-ranlib"))
set(CMAKE_FIND_ROOT_PATH /usr/$triple)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
EOF

step "configure"
# REQUIRE_SIMD turns a missing or unusable nasm into an error instead of a slow library.
run 300 cmake -S "$src_dir" -B "$build_dir" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$build_dir/toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DCMAKE_ASM_NASM_COMPILER="$(command -v nasm)" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
  -DWITH_SIMD=ON -DREQUIRE_SIMD=ON
grep -q 'SIMD extensions: .*(WITH_SIMD = 1)' "$log" || fail "configure did not enable the SIMD extensions"

step "build"
# Only the library: the command-line tools and test programs are not needed here.
run 1200 cmake --build "$build_dir" --target jpeg-static -- -j2

step "install"
lib=$build_dir/libjpeg.a
[[ -f $lib ]] || fail "no $lib after the build"
run 60 install -d "$prefix/include" "$prefix/lib"
run 60 install -m 644 "$src_dir/jpeglib.h" "$src_dir/jmorecfg.h" "$src_dir/jerror.h" \
  "$build_dir/jconfig.h" "$prefix/include/"
run 60 install -m 644 "$lib" "$prefix/lib/libjpeg.a"

step "checks"
# The SIMD entry points exist even in a build without SIMD (as stubs in jsimd_none.c that report
# no support); a real SIMD build has the dispatcher for this CPU and the nasm kernels.
members=$("$triple-ar" t "$prefix/lib/libjpeg.a")
printf '%s\n' "$members" >>"$log"
grep -q 'jsimd_none' <<<"$members" && fail "libjpeg.a holds the non-SIMD stubs (jsimd_none)"
grep -q '^jsimd\.c\.obj$' <<<"$members" || fail "libjpeg.a lacks the $simd_dir SIMD dispatcher (jsimd.c)"
defined=$("$triple-nm" -g --defined-only "$prefix/lib/libjpeg.a" 2>>"$log" | awk 'NF == 3 { print $3 }')
kernels=$(grep -Ec '^_?jsimd_[a-z0-9_]+_(sse2|avx2)$' <<<"$defined" || true)
printf 'SSE2/AVX2 kernels: %s\n' "$kernels" >>"$log"
((kernels >= 20)) || fail "only $kernels SSE2/AVX2 kernels in libjpeg.a: SIMD code missing"
grep -Eq '^_?jpeg_read_scanlines$' <<<"$defined" || fail "libjpeg.a lacks jpeg_read_scanlines"
case $triple in
  x86_64-*) want_format=pe-x86-64 ;;
  i686-*) want_format=pe-i386 ;;
esac
formats=$("$triple-objdump" -a "$prefix/lib/libjpeg.a" | sed -n 's/.*file format //p' | sort -u)
[[ $formats == "$want_format" ]] || fail "libjpeg.a objects are '$formats', not $want_format"
grep -q 'define JPEG_LIB_VERSION' "$prefix/include/jconfig.h" || fail "jconfig.h incomplete"

# The objects are in the library now; the log stays for a look at how it was built.
rm -rf "$build_dir"
touch "$prefix/.built"
