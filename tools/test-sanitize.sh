#!/usr/bin/env bash
# Builds everything with AddressSanitizer + UndefinedBehaviorSanitizer into
# build-asan/ and runs the whole test suite there. Every instrumented process
# (the tests and the netconfig, netsh.exe, ping ... they start) writes its
# report to build-asan/sanitizer-reports/, so a report from a child process
# is not lost in a test's captured output. Exit code 0 only when the suite
# passes and no report was written.
#
# Usage: tools/test-sanitize.sh [ctest arguments, e.g. -R winsys]
#   NETCONFIG_JOBS   build jobs (default 1: the machine is shared)
#   NETCONFIG_LSAN=1 also report leaks (Qt's and the system libraries' own
#                    allocations at exit are suppressed by tools/lsan.supp)
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${NETCONFIG_ASAN_BUILD:-$root/build-asan}"
jobs="${NETCONFIG_JOBS:-1}"
reports="$build/sanitizer-reports"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNETCONFIG_SANITIZE=ON \
  -DNETCONFIG_WERROR="${NETCONFIG_WERROR:-OFF}" "${launcher[@]}" >/dev/null \
  || exit 1
# Keep going past a target that does not compile: the rest still gets tested.
cmake --build "$build" -j"$jobs" -- -k 0
build_rc=$?

rm -rf "$reports"
mkdir -p "$reports"
leaks=0
[ "${NETCONFIG_LSAN:-0}" = 1 ] && leaks=1
export ASAN_OPTIONS="detect_leaks=$leaks:abort_on_error=0:log_path=$reports/asan"
export LSAN_OPTIONS="suppressions=$root/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan"

cd "$build" || exit 1
ctest --output-on-failure -j1 "$@"
test_rc=$?

# UndefinedBehaviorSanitizer may print to the test's output instead of the
# log file; keep those reports too.
grep -h -A12 -E "runtime error:|ERROR: (Address|Leak)Sanitizer" "$build/Testing/Temporary/LastTest.log" \
  >"$reports/from-test-output.txt" 2>/dev/null
[ -s "$reports/from-test-output.txt" ] || rm -f "$reports/from-test-output.txt"

shopt -s nullglob
found=("$reports"/*)
echo
if [ ${#found[@]} -gt 0 ]; then
  echo "sanitize: ${#found[@]} report file(s) in $reports:"
  for f in "${found[@]}"; do
    echo "== $f"
    grep -m3 -E "runtime error|ERROR: (Address|Leak)Sanitizer|SUMMARY" "$f"
  done
fi
echo "sanitize: build exit $build_rc, ctest exit $test_rc, ${#found[@]} sanitizer report file(s)"
[ $build_rc -eq 0 ] && [ $test_rc -eq 0 ] && [ ${#found[@]} -eq 0 ]
