#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite headless:
#   1. the normal (Debug) build and its tests, including the Windows-fidelity
#      check under Wine;
#   2. the same tests built with AddressSanitizer + UndefinedBehaviorSanitizer
#      (tools/test-sanitize.sh), which must write no report;
#   3. every libFuzzer harness for a short bounded time (fuzz/run.sh);
#   4. the Windows build of the program under Wine (tools/windows-app-test.sh).
# Knobs: NETCONFIG_WINE_TESTS=0 leaves out the Wine step, NETCONFIG_SANITIZE_TESTS=0
# the sanitizer step, NETCONFIG_FUZZ_SECONDS=0 the fuzzing (default 20 s each),
# NETCONFIG_WINDOWS_APP=0 the Windows build (=1 builds its Qt when none is at hand).
# NETCONFIG_ANSIBLE_TESTS=0 the Ansible fleet test (and installing ansible-core).
# Extra arguments go to the first ctest run (e.g. -R winsys).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
sanitize="${NETCONFIG_SANITIZE_TESTS:-1}"
fuzz_seconds="${NETCONFIG_FUZZ_SECONDS:-20}"
extra=()
[ "$fuzz_seconds" != 0 ] && extra+=(clang libclang-rt-14-dev)
netconfig_install_packages "${extra[@]}"
# The deploy test runs the Ansible role with ansible-playbook. ansible-core
# is enough; the collections it recommends are 250 MB.
export NETCONFIG_ANSIBLE_TESTS="${NETCONFIG_ANSIBLE_TESTS:-1}"
[ "$NETCONFIG_ANSIBLE_TESTS" = 0 ] || netconfig_install_missing --no-install-recommends ansible-core
# A compiler warning fails the run.
export NETCONFIG_WERROR="${NETCONFIG_WERROR:-ON}"
netconfig_build Debug -DNETCONFIG_WERROR="$NETCONFIG_WERROR"
# The Windows-fidelity check cross-builds the calls with MinGW and runs them
# under Wine (installed on first use).
export NETCONFIG_WINE_TESTS="${NETCONFIG_WINE_TESTS:-1}"
(cd "$NETCONFIG_BUILD" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@")

export NETCONFIG_JOBS="${NETCONFIG_JOBS:-$(nproc)}"
if [ "$sanitize" != 0 ]; then
  echo "== sanitizer build and tests"
  # Wine runs MinGW code the sanitizers cannot see; the native side is
  # already covered by the sanitized unit tests. The fleet test adds only
  # Ansible's side, and twenty sanitized hosts at once are slow.
  NETCONFIG_WINE_TESTS=0 NETCONFIG_ANSIBLE_TESTS=0 QT_QPA_PLATFORM=offscreen bash "$NETCONFIG_ROOT/tools/test-sanitize.sh" -j"$(nproc)"
fi
if [ "$fuzz_seconds" != 0 ]; then
  echo "== fuzzing, ${fuzz_seconds} s per harness"
  bash "$NETCONFIG_ROOT/fuzz/run.sh" "$fuzz_seconds"
fi
echo "== the Windows build under Wine"
bash "$NETCONFIG_ROOT/tools/windows-app-test.sh"
