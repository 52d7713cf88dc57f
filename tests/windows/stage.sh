#!/usr/bin/env bash
# The Windows build of netconfig under Wine, in a fresh prefix, inside the
# X server xvfb-run gives it:
#   1. /c /s against Wine's own machine: a section per adapter ipconfig
#      shows, then HostInformation with Wine's computer name;
#   2. the dialog on each of its four pages, saved to SHOTS/page<N>.png and
#      checked to show something; closing it exits 0, the program's own too;
#   3. -kill notepad ends a notepad.exe of the same prefix.
# Usage: stage.sh APP-FOLDER PAGESHOTS-EXE SHOTS-FOLDER
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
mkdir -p "$3"
app="$(cd "$1" && pwd)"
pageshots="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
shots="$(cd "$3" && pwd)"

work="$(mktemp -d "${TMPDIR:-/tmp}/netconfig-wine.XXXXXX")"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k 2>/dev/null || true   # this prefix's server only
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}
# Wine's console programs answer in CR LF.
run_wine() { timeout 300 wine "$@" 2>>"$work/wine.err" | tr -d '\r'; }

started=$SECONDS
wineboot -i >/dev/null 2>&1 || true
echo "stage: Wine prefix ready in $((SECONDS - started)) s"

# 1. Console save of Wine's machine.
cd "$work"
status=0
timeout 300 wine "$app/netconfig.exe" /c /s out.ini 2>"$work/save.err" || status=$?
[ "$status" = 0 ] || { cat "$work/save.err"; fail "save: exit code $status"; }
touch out.ini
tr -d '\r' <out.ini >out.txt
run_wine ipconfig >ipconfig.txt || true
# Wine's ipconfig shows the loopback interface too; Windows' and GetAdaptersInfo do not.
adapters=$(awk '/^[^ ].* adapter / { n++; name[n] = $0 } /IPv4 address.*: 127\./ { loop[n] = 1 }
                END { for (i = 1; i <= n; i++) if (!loop[i]) c++; print c + 0 }' ipconfig.txt)
sections=$(grep -c '^\[Interface' out.txt || true)
last=$(grep '^\[' out.txt | tail -1 || true)
computer=$(run_wine cmd /c echo %COMPUTERNAME% | tail -1)
saved=$(sed -n 's/^ComputerName=//p' out.txt)
echo "stage: ipconfig shows $adapters adapters, the file has $sections adapter sections, then $last;" \
     "computer name $computer, saved $saved"
[ "$adapters" -gt 0 ] && [ "$sections" = "$adapters" ] || fail "save: $sections sections for $adapters adapters"
[ "$last" = "[HostInformation]" ] || fail "save: the file does not end with [HostInformation]"
[ -n "$computer" ] && [ "${saved^^}" = "${computer^^}" ] || fail "save: computer name $saved, Wine's is $computer"

# 2. The dialog, page by page. The test program runs the program's own
# start-up from a copy of the program's folder.
mkdir -p "$work/app"
cp -r "$app"/. "$work/app/"
cp "$pageshots" "$work/app/"
rm -f "$shots"/page*.png
# Wine's GDI draws no text for Qt's line edits (labels and combo boxes show);
# Qt's own FreeType engine draws it, so the pages show what they hold.
status=0
timeout 300 wine "$work/app/$(basename "$pageshots")" "$shots" -platform windows:fontengine=freetype >pages.txt 2>pages.err || status=$?
tr -d '\r' <pages.txt
[ "$status" = 0 ] || { cat pages.err; fail "dialog: closing it gave exit code $status"; }
for page in 1 2 3 4; do
  png="$shots/page$page.png"
  if [ ! -f "$png" ]; then
    fail "dialog: no screenshot of page $page"
  elif ! python3 "$here/pngcheck.py" "$png"; then
    fail "dialog: page $page shows nothing"
  fi
done

# The program itself: its dialog comes up and a close request (WM_CLOSE,
# as the window's close button sends) ends it with exit code 0.
wine "$app/netconfig.exe" >/dev/null 2>dialog.err &
dialog=$!
sleep 8
kill -0 "$dialog" 2>/dev/null || fail "dialog: netconfig.exe ended before it was closed"
# On a loaded machine the window may not exist yet when the first request
# comes, and taskkill without /f has nothing to send it to: ask again.
status=0
for _ in $(seq 1 30); do
  run_wine taskkill /im netconfig.exe >/dev/null || true
  for _ in 1 2 3 4; do
    kill -0 "$dialog" 2>/dev/null || break 2
    sleep 0.5
  done
done
if kill -0 "$dialog" 2>/dev/null; then
  kill "$dialog" 2>/dev/null || true
  fail "dialog: netconfig.exe did not close"
else
  wait "$dialog" || status=$?
  echo "stage: netconfig.exe closed with exit code $status"
  [ "$status" = 0 ] || { cat dialog.err; fail "dialog: closing netconfig.exe gave exit code $status"; }
fi

# 3. -kill against another program of the same prefix.
wine notepad.exe >/dev/null 2>&1 &
notepad=$!
sleep 5   # Wine's tasklist lists nothing to wait for
kill -0 "$notepad" 2>/dev/null || fail "kill: notepad.exe did not start"
status=0
timeout 120 wine "$app/netconfig.exe" -kill notepad 2>kill.err || status=$?
ended=0
for _ in $(seq 1 40); do
  kill -0 "$notepad" 2>/dev/null || { ended=1; break; }
  sleep 0.5
done
echo "stage: -kill notepad exit code $status, notepad ended: $ended"
[ "$status" = 1 ] && [ "$ended" = 1 ] || { cat kill.err; kill "$notepad" 2>/dev/null || true; fail "kill: notepad.exe still runs"; }

echo "stage: $failures failed, Wine runs $((SECONDS - started)) s"
[ "$failures" = 0 ]
