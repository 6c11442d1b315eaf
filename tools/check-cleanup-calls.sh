#!/usr/bin/env bash
# Fails when product code releases a handle anywhere but in its owner type.
#
#   tools/check-cleanup-calls.sh [REPO]   checks app/ show/ pattern2/ setup/ platform/ of REPO
#                                         (default: this script's repository)
#   tools/check-cleanup-calls.sh --self-test
#                                         shows that the check finds a call planted in a tree of
#                                         its own and passes the same tree without it
#
# Every handle kind has one move-only owner in platform/win32/handles.h whose type names its
# cleanup call; a call to one of the functions below anywhere else is a handle freed by hand.
# Each one found is printed as FILE:LINE with the call, and the exit code is 1. Comments (text
# after //) do not count.
set -uo pipefail

# The calls that end a handle's life. RemoveWindowSubclass, KillTimer and ReleaseCapture are not
# among them: they undo a registration on a window the caller does not own, not a handle.
readonly kCleanupCalls='DeleteObject|DeleteDC|ReleaseDC|EndPaint|CloseHandle|FindClose|RegCloseKey|DestroyWindow|DestroyMenu|DestroyIcon|DestroyCursor|DestroyAcceleratorTable|LocalFree|GlobalFree|HeapFree|CoTaskMemFree|SysFreeString|FreeLibrary|UnmapViewOfFile|UnhookWindowsHookEx|ImageList_Destroy|DeleteEnhMetaFile|DragFinish|waveOutClose|midiOutClose|DeleteBitmap|DeleteBrush|DeleteFont|DeletePen|CoUninitialize|PropVariantClear|VariantClear'
readonly kOwners='platform/win32/handles.h'

# check REPO: prints every cleanup call outside the owners; exit 1 when there is one.
check() {
  local repo=$1 found=0 file rel
  while IFS= read -r -d '' file; do
    rel=${file#"$repo"/}
    [[ $rel == "$kOwners" ]] && continue
    if awk -v rel="$rel" -v calls="$kCleanupCalls" '
      {
        code = $0
        sub(/\/\/.*/, "", code)
        if (match(code, "(^|[^A-Za-z0-9_])(" calls ")[ \t]*\\(") || match(code, "(^|[^A-Za-z0-9_])MCI_CLOSE([^A-Za-z0-9_]|$)") || match(code, "(->|\\.)Release[ \t]*\\(")) {
          call = substr(code, RSTART, RLENGTH)
          gsub(/^[^A-Za-z_]+|[^A-Za-z0-9_]+$/, "", call)
          printf "%s:%d: %s outside %s; give the handle an owner there\n", rel, FNR, call, owners
          bad = 1
        }
      }
      END { exit bad ? 0 : 1 }' owners="$kOwners" "$file"; then
      found=1
    fi
  done < <(cd "$repo" && find app show pattern2 setup platform -type f \
             \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' -o -name '*.c' \) \
             -printf "$repo/%p\0" 2>/dev/null | sort -z)
  if ((found)); then
    echo "cleanup calls outside $kOwners: FAILED" >&2
    return 1
  fi
  echo "no cleanup call outside $kOwners"
}

self_test() {
  local tree out rc
  tree=$(mktemp -d)
  trap 'rm -rf "$tree"' RETURN
  mkdir -p "$tree"/{app,show,pattern2,setup,platform/win32}
  printf 'inline void Close(HBRUSH h) { DeleteObject(h); }\n' >"$tree/$kOwners"
  printf '// DestroyWindow(hwnd) would be wrong here\nvoid Paint() {\n  DeleteObject (brush);\n}\n' \
    >"$tree/show/planted.cpp"
  printf 'void Stop() { mciSendCommandW(id, MCI_CLOSE, 0, 0); }\n' >"$tree/setup/music.cpp"
  out=$(check "$tree" 2>&1); rc=$?
  if ((rc != 1)) || [[ $out != *"show/planted.cpp:3: DeleteObject outside"* ]] ||
     [[ $out != *"setup/music.cpp:1: MCI_CLOSE outside"* ]] || [[ $out == *"planted.cpp:1"* ]] ||
     [[ $out == *"handles.h"*":1"* ]]; then
    printf 'self-test: the planted calls were not reported as expected (exit %s):\n%s\n' "$rc" "$out" >&2
    return 1
  fi
  printf 'void Paint() {}\n' >"$tree/show/planted.cpp"
  rm "$tree/setup/music.cpp"
  out=$(check "$tree" 2>&1); rc=$?
  if ((rc != 0)); then
    printf 'self-test: a tree without planted calls failed (exit %s):\n%s\n' "$rc" "$out" >&2
    return 1
  fi
  echo "self-test passed: planted calls reported with file and line, the clean tree passes"
}

if [[ ${1:-} == --self-test ]]; then
  self_test
else
  check "$(cd "${1:-$(dirname "${BASH_SOURCE[0]}")/..}" && pwd)"
fi
