#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then
# configures and builds netconfig into build/. Sourced by run.sh and test.sh.
set -euo pipefail

NETCONFIG_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
NETCONFIG_BUILD="${NETCONFIG_BUILD:-$NETCONFIG_ROOT/build}"

netconfig_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools
  qt6-l10n-tools qt6-translations-l10n libgl-dev
  iputils-ping traceroute xvfb xauth time
)

# netconfig_install_missing [--no-install-recommends] PACKAGE...
netconfig_install_missing() {
  local options=() missing=()
  if [ "${1:-}" = --no-install-recommends ]; then
    options+=("$1")
    shift
  fi
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "netconfig: installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${options[@]}" "${missing[@]}"
  fi
}

netconfig_install_packages() {
  netconfig_install_missing "${netconfig_packages[@]}" "$@"
}

# netconfig_build [build type] [further cmake arguments]
netconfig_build() {
  local type="${1:-RelWithDebInfo}"
  shift || true
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S "$NETCONFIG_ROOT" -B "$NETCONFIG_BUILD" -G Ninja -DCMAKE_BUILD_TYPE="$type" "${launcher[@]}" "$@" >/dev/null
  cmake --build "$NETCONFIG_BUILD" -j"$(nproc)"
}
