#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite headless.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
netconfig_install_packages
netconfig_build Debug
cd "$NETCONFIG_BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "$@"
