#!/bin/sh
# usage: install_smoke.sh CMAKE BUILD_DIR
# (BINDIR, SYSTEM_SUBDIR, DATA_SUBDIR and DATADIR: the install layout)
# The installed program must run with nothing set up: no WINSYS_ROOT, an
# empty home, only the installed tree.
set -eu
cmake=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

fail() {
    echo "install_smoke: $*" >&2
    exit 1
}

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install failed"; }

for file in "$BINDIR/netconfig" "$BINDIR/winhost" "$SYSTEM_SUBDIR/netsh.exe" "$SYSTEM_SUBDIR/ping" \
    "$SYSTEM_SUBDIR/tracert"; do
    [ -x "$prefix/$file" ] || fail "$file is not installed as a program"
done
for file in "$SYSTEM_SUBDIR/libwinsys.so" "$SYSTEM_SUBDIR/libshell32.so" \
    "$DATA_SUBDIR/translations/netconfig_de.qm" "$DATADIR/applications/netconfig.desktop" \
    "$DATADIR/icons/hicolor/16x16/apps/netconfig.png" "$DATADIR/icons/hicolor/32x32/apps/netconfig.png" \
    "$DATADIR/icons/hicolor/48x48/apps/netconfig.png" "$DATADIR/icons/hicolor/128x128/apps/netconfig.png" \
    "$DATADIR/icons/hicolor/scalable/apps/netconfig.svg"; do
    [ -s "$prefix/$file" ] || fail "$file is not installed"
done

# Installed programs find their libraries relative to themselves only.
if command -v readelf >/dev/null 2>&1; then
    for file in "$BINDIR/netconfig" "$BINDIR/winhost" "$SYSTEM_SUBDIR/netsh.exe"; do
        if readelf -d "$prefix/$file" | grep -E 'R(UN)?PATH' | grep -q "$build"; then
            fail "$file still looks for libraries in the build tree"
        fi
    done
fi

home=$work/home
mkdir -p "$home" "$work/run"
chmod 700 "$work/run"
run() {
    env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen \
        LANG=C.UTF-8 "$@"
}
cd "$work"

run "$prefix/$BINDIR/netconfig" /c /s saved.ini || fail "netconfig /c /s exited with $?"
grep -q '^\[Interface1\]' saved.ini || fail "saved.ini has no adapter"
grep -q '^ComputerName=..*' saved.ini || fail "saved.ini has no computer name"
host=$home/.local/share/netconfig/host
[ -s "$host/registry.reg" ] || fail "no default host was made in $host"

# Loading applies through the installed netsh.exe; the change must show
# in a second save and in winhost's view of the host.
awk '!done && /^mask=/ { print "mask=255.255.0.0"; done = 1; next } { print }' saved.ini >changed.ini
run "$prefix/$BINDIR/netconfig" /c /l changed.ini || fail "netconfig /c /l exited with $?"
run "$prefix/$BINDIR/netconfig" /c /s again.ini || fail "second save exited with $?"
grep -q '^mask=255.255.0.0$' again.ini || fail "the loaded mask was not applied"
run "$prefix/$BINDIR/winhost" show "$host" >show.txt || fail "winhost show exited with $?"
grep -q '255\.255\.0\.0' show.txt || fail "winhost does not show the applied mask"

run "$prefix/$SYSTEM_SUBDIR/ping" /? >ping.txt || fail "the installed ping does not start"
grep -q 'Usage: ping' ping.txt || fail "the installed ping printed no usage"
echo "install_smoke: installed tree works"
