#!/usr/bin/env bash
# Checks the emulation against the Windows SDK: cross-compiles
# tests/winfidelity with MinGW-w64 against the SDK's headers and import
# libraries, runs it under Wine in a fresh prefix, and compares its check
# lines with the emulation's run of the same calls.
#
# Usage: tools/windows-fidelity.sh [--native PATH] [--build-dir DIR] [--ctest]
#   --native     the emulation's winfidelity (default: built in $NETCONFIG_BUILD)
#   --build-dir  where the cross build goes (default: $NETCONFIG_BUILD/winfidelity-mingw)
#   --ctest      skip (exit 77) unless NETCONFIG_WINE_TESTS=1
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${NETCONFIG_BUILD:-$root/build}"
native=""
cross=""
ctest=0
while [ $# -gt 0 ]; do
  case "$1" in
    --native) native="$2"; shift 2 ;;
    --build-dir) cross="$2"; shift 2 ;;
    --ctest) ctest=1; shift ;;
    *) echo "windows-fidelity: unknown argument $1" >&2; exit 2 ;;
  esac
done
if [ "$ctest" = 1 ] && [ "${NETCONFIG_WINE_TESTS:-0}" != 1 ]; then
  echo "windows-fidelity: skipped (set NETCONFIG_WINE_TESTS=1 to cross-build and run under Wine)"
  exit 77
fi
[ -n "$native" ] && build="$(cd "$(dirname "$native")/.." && pwd)"
cross="${cross:-$build/winfidelity-mingw}"

started=$SECONDS
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
# Wine's recommended extras (fonts, sound, 32-bit parts) are not needed here.
netconfig_install_missing --no-install-recommends g++-mingw-w64-x86-64 wine wine64 >/dev/null
installed=$SECONDS

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root/tests/winfidelity" -B "$cross" -G Ninja --toolchain "$root/cmake/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
cmake --build "$cross" -j1
if [ -z "$native" ]; then
  [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$build" -j1 --target winfidelity
  native="$build/bin/winfidelity"
fi
built=$SECONDS

work="$(mktemp -d "${TMPDIR:-/tmp}/winfidelity.XXXXXX")"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k 2>/dev/null || true   # this prefix's server only
  rm -rf "$work"
}
trap cleanup EXIT
unset DISPLAY WAYLAND_DISPLAY

"$native" >"$work/emulation.txt" 2>"$work/emulation.err" || {
  cat "$work/emulation.err" >&2
  echo "windows-fidelity: the emulation's own checks failed" >&2
  exit 1
}
# The Windows build judges itself too; compare.sh sorts out Wine's known differences.
status=0
timeout 600 wine "$cross/winfidelity.exe" >"$work/windows.txt" 2>"$work/windows.err" || status=$?
if [ "$status" -gt 1 ] || ! grep -q "^check " "$work/windows.txt"; then
  cat "$work/windows.err" >&2
  echo "windows-fidelity: the Windows build did not run under Wine (status $status)" >&2
  exit 1
fi
ran=$SECONDS

result=0
bash "$root/tests/winfidelity/compare.sh" "$work/emulation.txt" "$work/windows.txt" "$work/windows.err" || result=$?
echo "windows-fidelity: install $((installed - started)) s, builds $((built - installed)) s," \
     "runs $((ran - built)) s (Wine prefix included)"
exit "$result"
