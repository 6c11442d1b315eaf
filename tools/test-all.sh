#!/usr/bin/env bash
# Runs every test tier from a clean clone: installs what is missing, then configures (with the
# presets of the same names in CMakePresets.json), builds and tests
#   native  build/native  the core's unit, decode and fuzz-replay tests (g++)
#   win64   build/win64   Tessmoor.scr for x86_64 and its end-to-end suites under Wine
#   win32   build/win32   the same for i686
# and ends with one line "N passed, M failed, K flaky" over all tiers, where each end-to-end suite
# file counts as one test. A tier that fails to configure or build, or whose ctest reports no
# result, counts as one failure, so that a broken tier can never look like a passing one. A test
# of a Windows tier that fails and then passes when run again is flaky: it is named in the summary
# and does not fail the run, but it is not counted as passed.
#
# Environment: TESSMOOR_BUILD_DIR (default <repo>/build) holds the build folders and, unless
# TESSMOOR_DEPS_DIR says otherwise, the shared cross-built dependencies; TESSMOOR_TIERS (default
# "native win64 win32") picks tiers.
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_root=${TESSMOOR_BUILD_DIR:-$repo/build}
tiers=${TESSMOOR_TIERS:-native win64 win32}
mkdir -p "$build_root"
build_root=$(cd "$build_root" && pwd)

# The Windows trees share one cross-built libjpeg-turbo (cmake/jpeg.cmake keys it by version and
# build script), and both tiers run their modules in the same kind of prefix: one pristine copy
# serves both.
export TESSMOOR_DEPS_DIR=${TESSMOOR_DEPS_DIR:-$build_root/deps}
export TESSMOOR_WINE_CACHE_DIR=${TESSMOOR_WINE_CACHE_DIR:-$build_root/wine-cache}

total_passed=0
total_failed=0
total_flaky=0
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

# ctest_result LOG: "TOTAL FAILED" from ctest's closing line in LOG, or nothing.
ctest_result() {
  grep -Eo '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1 |
    sed -E 's/.*, ([0-9]+) tests? failed out of ([0-9]+)/\2 \1/'
}

# failed_tests LOG: the names ctest lists under "The following tests FAILED:" in LOG.
failed_tests() {
  sed -n '/^The following tests FAILED:/,/^[^[:space:]]/s/^[[:space:]]*[0-9]* - \(.*\) ([^)]*)$/\1/p' "$1"
}

run_tier() {
  local name=$1
  local dir=$build_root/$name
  local log=$build_root/$name.log
  : >"$log"
  banner "$name: configure and build ($dir, log $log)"
  if ! step "$log" 2400 cmake -S "$repo" --preset "$name" -B "$dir"; then
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
  # ctest reads its preset from the working folder.
  local ctest=(timeout 3600 env -C "$repo" ctest --preset "$name" --test-dir "$dir")
  "${ctest[@]}" </dev/null 2>&1 | tee "$ctest_log"
  local rc=${PIPESTATUS[0]}
  local result total failed
  result=$(ctest_result "$ctest_log")
  if [[ -z $result ]]; then
    summary+=("$name: ctest gave no result (exit $rc; counted as 1 failure)")
    total_failed=$((total_failed + 1))
    return
  fi
  read -r total failed <<<"$result"

  # The end-to-end suites drive real windows under Wine on a loaded machine: the failed tests of a
  # Windows tier run once more. One that passes then is flaky: named, counted apart, never as a
  # pass. The first run's failure output stays in the log above the second run's.
  local flaky=()
  if [[ $name == win* ]] && ((failed > 0)); then
    local rerun_log=$build_root/$name.rerun.log
    banner "$name: the failed tests once more"
    "${ctest[@]}" --rerun-failed </dev/null 2>&1 | tee "$rerun_log" | tee -a "$ctest_log"
    local first=() test
    mapfile -t first < <(failed_tests "$ctest_log" | sort -u)
    for test in "${first[@]}"; do
      grep -F -- ": $test ." "$rerun_log" | grep -Eq '\.  +Passed +[0-9.]+ sec' && flaky+=("$test")
    done
    failed=$((failed - ${#flaky[@]}))
    rc=0
    ((failed > 0)) && rc=1
  fi

  local passed=$((total - failed - ${#flaky[@]}))
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
  total_flaky=$((total_flaky + ${#flaky[@]}))
  local line="$name: $passed passed, $failed failed"
  if ((${#flaky[@]})); then
    local names
    names=$(printf '%s, ' "${flaky[@]}")
    line+=", ${#flaky[@]} flaky (${names%, })"
  fi
  if ((rc != 0 && failed == 0)); then
    # ctest itself failed (timed out, crashed) after the tests it counted.
    summary+=("$line, but ctest exited $rc (counted as 1 failure)")
    total_failed=$((total_failed + 1))
  else
    summary+=("$line")
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
    native | win64 | win32) run_tier "$tier" ;;
    *) summary+=("$tier: unknown tier (counted as 1 failure)"); total_failed=$((total_failed + 1)) ;;
  esac
done

banner "summary"
printf '%s\n' "${summary[@]}"
echo "$total_passed passed, $total_failed failed, $total_flaky flaky"
((total_failed == 0))
