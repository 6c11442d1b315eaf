#!/usr/bin/env bash
# Runs every test tier from a clean clone: installs what is missing, then builds and tests
#   native  build/native  the core's unit, decode and fuzz-replay tests (g++)
#   win64   build/win64   Tessmoor.scr for x86_64 and its end-to-end tests under Wine
#   win32   build/win32   the same for i686
# and ends with one line "N passed, N failed" over all tiers. A tier that fails to configure or
# build, or whose ctest reports no result, counts as one failure, so that a broken tier can never
# look like a passing one.
#
# Environment: TESSMOOR_BUILD_DIR (default <repo>/build) holds the build folders and the shared
# cross-built dependencies; TESSMOOR_TIERS (default "native win64 win32") picks tiers.
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_root=${TESSMOOR_BUILD_DIR:-$repo/build}
tiers=${TESSMOOR_TIERS:-native win64 win32}
mkdir -p "$build_root"
build_root=$(cd "$build_root" && pwd)

# Both Windows tiers run their modules in the same kind of prefix: one pristine copy serves both.
export TESSMOOR_WINE_CACHE_DIR=${TESSMOOR_WINE_CACHE_DIR:-$build_root/wine-cache}

total_passed=0
total_failed=0
summary=()

banner() { printf '\n==== %s\n' "$*"; }

# step LOG TIMEOUT CMD...: output to LOG; on failure its tail is shown.
step() {
  local log=$1 limit=$2; shift 2
  printf '$ %s\n' "$*" >>"$log"
  timeout "$limit" "$@" >>"$log" 2>&1
  local rc=$?
  ((rc == 0)) && return 0
  echo "---- failed ($rc): $* -- last lines of $log:"
  tail -n 80 "$log"
  return 1
}

run_tier() {
  local name=$1; shift
  local dir=$build_root/$name
  local log=$build_root/$name.log
  : >"$log"
  banner "$name: configure and build ($dir, log $log)"
  if ! step "$log" 2400 cmake -S "$repo" -B "$dir" -G Ninja -DTESSMOOR_WERROR=ON "$@"; then
    summary+=("$name: configure FAILED (counted as 1 failure)")
    total_failed=$((total_failed + 1))
    return
  fi
  if ! step "$log" 3000 cmake --build "$dir" --parallel 2; then
    summary+=("$name: build FAILED (counted as 1 failure)")
    total_failed=$((total_failed + 1))
    return
  fi
  banner "$name: ctest"
  local ctest_log=$build_root/$name.ctest.log
  # The end-to-end suites drive real windows under Wine on a loaded machine; a suite that fails
  # is run once more, and its first failure stays in the log above the second run's result.
  local repeat=()
  [[ $name == win* ]] && repeat=(--repeat until-pass:2)
  timeout 3000 ctest --test-dir "$dir" --output-on-failure --no-tests=error -j2 --timeout 1200 "${repeat[@]}" \
    </dev/null 2>&1 | tee "$ctest_log"
  local rc=${PIPESTATUS[0]}
  local line
  line=$(grep -Eo '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$ctest_log" | tail -n 1)
  if [[ -z $line ]]; then
    summary+=("$name: ctest gave no result (exit $rc; counted as 1 failure)")
    total_failed=$((total_failed + 1))
    return
  fi
  local failed total
  failed=$(sed -E 's/.*, ([0-9]+) tests? failed out of ([0-9]+)/\1/' <<<"$line")
  total=$(sed -E 's/.* out of ([0-9]+)/\1/' <<<"$line")
  total_passed=$((total_passed + total - failed))
  total_failed=$((total_failed + failed))
  if ((rc != 0 && failed == 0)); then
    # ctest itself failed (timed out, crashed) after the tests it counted.
    summary+=("$name: $((total - failed)) passed, 0 failed, but ctest exited $rc (counted as 1 failure)")
    total_failed=$((total_failed + 1))
  else
    summary+=("$name: $((total - failed)) passed, $failed failed")
  fi
}

banner "setup"
if ! bash "$repo/tools/setup.sh"; then
  echo "tools/setup.sh failed: the tiers cannot be built"
  echo "0 passed, 1 failed"
  exit 1
fi

for tier in $tiers; do
  case $tier in
    native) run_tier native ;;
    win64) run_tier win64 -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchain-mingw-x86_64.cmake" \
             -DTESSMOOR_DEPS_DIR="$build_root/deps" ;;
    win32) run_tier win32 -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchain-mingw-i686.cmake" \
             -DTESSMOOR_DEPS_DIR="$build_root/deps" ;;
    *) summary+=("$tier: unknown tier (counted as 1 failure)"); total_failed=$((total_failed + 1)) ;;
  esac
done

banner "summary"
printf '%s\n' "${summary[@]}"
echo "$total_passed passed, $total_failed failed"
((total_failed == 0))
