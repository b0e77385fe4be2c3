#!/usr/bin/env bash
# Runs a GoogleTest program under Wine on a display of its own: Xvfb, and a Wine desktop of
# its own on it (the prefix's default desktop may have been started without a display). The
# desktop's launcher does not pass the exit status on, so the program's summary tells.
#   run-gui.sh WINE-WRAPPER PROGRAM [ARGS...]
set -uo pipefail
wrapper=$1
shift
out=$(mktemp)
trap 'rm -f "$out"' EXIT
xvfb-run -a "$wrapper" explorer /desktop=options-test,800x600 "$@" </dev/null >"$out" 2>&1
cat "$out"
grep -q '^\[  PASSED  \]' "$out" && ! grep -q '^\[  FAILED  \]' "$out"
