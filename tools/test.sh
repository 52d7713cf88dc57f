#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite headless.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
netconfig_install_packages
netconfig_build Debug
cd "$NETCONFIG_BUILD"
# The Windows-fidelity check cross-builds the calls with MinGW and runs them
# under Wine (installed on first use); NETCONFIG_WINE_TESTS=0 leaves it out.
export NETCONFIG_WINE_TESTS="${NETCONFIG_WINE_TESTS:-1}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "$@"
