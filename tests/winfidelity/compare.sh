#!/usr/bin/env bash
# Compares the check lines of two runs of winfidelity (the emulation's and
# the Windows SDK build's) for the checks both ran: rc, size and err must be
# equal. Checks listed in the known-differences file may differ, and may fail
# in the Windows build's run.
# Usage: compare.sh EMULATION.txt WINDOWS.txt [WINDOWS-STDERR.txt] [KNOWN.txt]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
emulation="$1"
windows="$2"
windows_err="${3:-/dev/null}"
known="${4:-$here/wine-differences.txt}"

awk -v known="$known" -v errfile="$windows_err" '
  BEGIN {
    while ((getline line < known) > 0) {
      if (line ~ /^[ \t]*(#|$)/) continue
      split(line, f, " ")
      expected[f[1]] = 1
    }
    # The Windows run judges its own checks too; only unexpected failures count.
    while ((getline line < errfile) > 0) {
      sub(/\r$/, "", line)
      if (line !~ /^FAIL /) continue
      split(line, f, " ")
      if (!(f[2] in expected)) { print "FAILED  " line; failed++ }
    }
  }
  { sub(/\r$/, "") }
  $1 != "check" { next }
  FNR == NR { emu[$2] = $3 " " $4 " " $5; next }
  !($2 in emu) { next }
  {
    compared++
    got = $3 " " $4 " " $5
    if (emu[$2] == got) next
    if ($2 in expected) { printf "known   %s: emulation %s, Windows build %s\n", $2, emu[$2], got; knownDiffs++ }
    else { printf "DIFFER  %s: emulation %s, Windows build %s\n", $2, emu[$2], got; differ++ }
  }
  END {
    printf "winfidelity: %d checks compared, %d differ, %d known Wine differences, %d unexpected failures\n",
           compared, differ, knownDiffs, failed
    exit (differ > 0 || failed > 0 || compared == 0) ? 1 : 0
  }
' "$emulation" "$windows"
