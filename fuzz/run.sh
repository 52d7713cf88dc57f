#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang into build-fuzz/ and runs each
# for a bounded time on a copy of its seed corpus and regression inputs.
# New crashing inputs are left in build-fuzz/fuzz-findings/<name>/; once
# fixed, each goes to fuzz/regressions/<name>/ (replayed by every test build).
#
# Usage: fuzz/run.sh [seconds per harness (default 60)] [harness names...]
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${NETCONFIG_FUZZ_BUILD:-$root/build-fuzz}"
seconds="${1:-60}"
shift || true
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] || harnesses=(hive inifile ipaddress netsh settings xmlsettings switches)

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DNETCONFIG_FUZZ=ON -DNETCONFIG_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null || exit 2
targets=()
for h in "${harnesses[@]}"; do targets+=("fuzz_$h"); done
cmake --build "$build" -j"${NETCONFIG_JOBS:-1}" --target "${targets[@]}" || exit 2

export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tools/lsan.supp:print_suppressions=0"
status=0
for h in "${harnesses[@]}"; do
  corpus="$build/fuzz-corpus/$h"
  findings="$build/fuzz-findings/$h"
  mkdir -p "$corpus" "$findings"
  cp -n "$root/fuzz/corpus/$h"/* "$root/fuzz/regressions/$h"/* "$corpus"/ 2>/dev/null
  echo "== fuzz_$h for ${seconds}s"
  "$build/bin/fuzz_$h" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -artifact_prefix="$findings/" "$corpus" 2>&1 | grep -v '^#[0-9]' | tail -25
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
done
exit $status
