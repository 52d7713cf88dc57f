#!/usr/bin/env bash
# Cross-builds netconfig.exe for 64-bit Windows with MinGW-w64 (the Windows
# SDK calls, the version resource, manifest and icon) into build-win/, and
# lays out build-win/netconfig/, a folder that runs as it is on Windows or
# under Wine: the program, the Qt DLLs and plugins, the MinGW runtime and the
# translations. build-win/bin also holds netconfig_pageshots.exe (for tests).
#
# Qt is a QtBase built for MinGW-w64, the first of:
#   $NETCONFIG_WINDOWS_QT (an unpacked install);
#   ~/.cache/netconfig/qt6.4.2-mingw64 (unpacked or built before);
#   ../shared/windows/qt6.4.2-mingw64.tar.xz beside the repository (unpacked into the cache);
#   built from Debian's qt6-base source package into the cache: about 45 minutes on two cores.
#
# Usage: tools/windows-app.sh [--qt-status] [--build-dir DIR]
#   --qt-status  only say where Qt would come from: "ready", "unpack" or "build"
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-win"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/netconfig"
qt_name=qt6.4.2-mingw64
prebuilt="$root/../shared/windows/$qt_name.tar.xz"
status_only=0
while [ $# -gt 0 ]; do
  case "$1" in
    --qt-status) status_only=1; shift ;;
    --build-dir) build="$2"; shift 2 ;;
    *) echo "windows-app: unknown argument $1" >&2; exit 2 ;;
  esac
done

qt_status() {
  if [ -n "${NETCONFIG_WINDOWS_QT:-}" ] || [ -f "$cache/$qt_name/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
    echo ready
  elif [ -f "$prebuilt" ]; then
    echo unpack
  else
    echo build
  fi
}
if [ "$status_only" = 1 ]; then
  qt_status
  exit 0
fi

source "$root/tools/setup.sh"

# The recipe of ../shared/windows/README.md: Debian's qt6-base source,
# cross-built with the posix-threads MinGW compilers, shared, Release.
build_qt() {
  echo "windows-app: building Qt for MinGW-w64 from Debian's qt6-base source into $cache;" \
       "this takes about 45 minutes on two cores"
  netconfig_install_missing --no-install-recommends dpkg-dev
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  local src="$cache/qt-source"
  mkdir -p "$src"
  if ! ls "$src"/qt6-base_6.4.2*.orig.tar.xz >/dev/null 2>&1; then
    if ! grep -rqs "^deb-src .*bookworm main" /etc/apt/sources.list /etc/apt/sources.list.d/; then
      echo "deb-src http://deb.debian.org/debian bookworm main" | $sudo tee /etc/apt/sources.list.d/netconfig-src.list >/dev/null
      $sudo apt-get update -qq
    fi
    (cd "$src" && apt-get source --download-only qt6-base >/dev/null)
  fi
  local tree="$src/tree"
  if [ ! -f "$tree/CMakeLists.txt" ]; then
    rm -rf "$tree" && mkdir -p "$tree"
    tar xJf "$src"/qt6-base_6.4.2*.orig.tar.xz -C "$tree" --strip-components=1
  fi
  local prefix="$cache/$qt_name"
  mkdir -p "$prefix"
  # Inside the prefix, so that Qt's own toolchain file finds it wherever the prefix goes.
  sed -e 's/^set(NETCONFIG_MINGW_PREFIX .*/set(NETCONFIG_MINGW_PREFIX x86_64-w64-mingw32)/' \
      -e 's/-gcc)$/-gcc-posix)/' -e 's/-g++)$/-g++-posix)/' \
      "$root/cmake/mingw-w64.cmake" >"$prefix/mingw-w64.cmake"
  local off=()
  for lib in doubleconversion freetype harfbuzz jpeg libb2 libjpeg libpng md4c pcre2 sqlite zlib; do
    off+=("-DFEATURE_system_$lib=OFF")
  done
  cmake -S "$tree" -B "$cache/qt-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DBUILD_SHARED_LIBS=ON \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF \
        -DFEATURE_opengl=ON -DINPUT_opengl=desktop "${off[@]}" >/dev/null
  cmake --build "$cache/qt-build" -j"$(nproc)"
  cmake --install "$cache/qt-build" >/dev/null
}

started=$SECONDS
netconfig_install_missing --no-install-recommends g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools qt6-tools-dev-tools
qt="${NETCONFIG_WINDOWS_QT:-$cache/$qt_name}"
case "$(qt_status)" in
  unpack)
    echo "windows-app: unpacking $prebuilt into $cache"
    mkdir -p "$cache"
    tar xJf "$prebuilt" -C "$cache" ;;
  build) build_qt ;;
esac
qt_ready=$SECONDS

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
      -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
      -DNETCONFIG_BUILD_TESTS=ON -DNETCONFIG_WERROR="${NETCONFIG_WERROR:-ON}" "${launcher[@]}" >/dev/null
cmake --build "$build" -j"${NETCONFIG_JOBS:-$(nproc)}" --target netconfig netconfig_pageshots netconfig_lrelease
built=$SECONDS

# The runnable folder. The MinGW runtime is the posix-threads one Qt was built with.
app="$build/netconfig"
rm -rf "$app"
mkdir -p "$app/platforms" "$app/styles" "$app/translations"
cp "$build/bin/netconfig.exe" "$app/"
for module in Core Gui Widgets Xml; do
  cp "$qt/bin/Qt6$module.dll" "$app/"
done
# Console runs use the offscreen platform: they need no display.
cp "$qt/plugins/platforms/qwindows.dll" "$qt/plugins/platforms/qoffscreen.dll" "$app/platforms/"
cp "$qt/plugins/styles/"*.dll "$app/styles/" 2>/dev/null || true
cp "$build/bin/translations/"*.qm "$app/translations/"
runtime=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix/libgcc_s_seh-1.dll
         /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libstdc++-6.dll
         /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)
cp "${runtime[@]}" "$app/"
echo "windows-app: $app ready (Qt $((qt_ready - started)) s, build $((built - qt_ready)) s)"
