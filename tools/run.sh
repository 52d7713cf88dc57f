#!/usr/bin/env bash
# Installs what is needed, builds, and starts the dialog on the default
# emulated host ($WINSYS_ROOT, else ~/.local/share/netconfig/host).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
netconfig_install_packages
netconfig_build

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "netconfig: no display here, so the dialog cannot open."
  echo "netconfig: this is what it would configure (console save of the emulated host):"
  out="$(mktemp -d)/network.ini"
  QT_QPA_PLATFORM=offscreen "$NETCONFIG_BUILD/bin/netconfig" /c /s "$out"
  cat "$out"
  echo
  host="${WINSYS_ROOT:-${XDG_DATA_HOME:-$HOME/.local/share}/netconfig/host}"
  "$NETCONFIG_BUILD/bin/winhost" show "$host"
  exit 0
fi
exec "$NETCONFIG_BUILD/bin/netconfig" "$@"
