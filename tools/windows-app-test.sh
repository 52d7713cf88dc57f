#!/usr/bin/env bash
# The Windows build of netconfig, made by tools/windows-app.sh, run under
# Wine in a fresh prefix (tests/windows/stage.sh); screenshots of the dialog's
# pages land in build-win/shots/.
#   NETCONFIG_WINDOWS_APP=0  leaves this out;
#   unset                    runs it when a Qt for MinGW-w64 is at hand (unpacked in
#                            ~/.cache/netconfig or in ../shared/windows), else says so and skips;
#   NETCONFIG_WINDOWS_APP=1  runs it in any case, building that Qt first (about 45 minutes).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
mode="${NETCONFIG_WINDOWS_APP:-}"
if [ "$mode" = 0 ]; then
  echo "windows-app: left out (NETCONFIG_WINDOWS_APP=0)"
  exit 0
fi
if [ "$(bash "$root/tools/windows-app.sh" --qt-status)" = build ] && [ "$mode" != 1 ]; then
  echo "windows-app: SKIPPED: no Qt for MinGW-w64 here (neither ../shared/windows/qt6.4.2-mingw64.tar.xz" \
       "nor ~/.cache/netconfig/qt6.4.2-mingw64); building it from Debian's source takes about 45 minutes." \
       "NETCONFIG_WINDOWS_APP=1 builds it, NETCONFIG_WINDOWS_APP=0 silences this."
  exit 0
fi

started=$SECONDS
source "$root/tools/setup.sh"
netconfig_install_missing --no-install-recommends wine wine64 xvfb xauth python3 >/dev/null
bash "$root/tools/windows-app.sh"
built=$SECONDS

build="$root/build-win"
unset DISPLAY WAYLAND_DISPLAY
xvfb-run -a -s "-screen 0 1280x1024x24" \
  bash "$root/tests/windows/stage.sh" "$build/netconfig" "$build/bin/netconfig_pageshots.exe" "$build/shots"
echo "windows-app: build $((built - started)) s, Wine stage $((SECONDS - built)) s, total $((SECONDS - started)) s"
