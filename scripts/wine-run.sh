#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own prefix (never in $HOME), quietly and
# without the Mono and Gecko installers. Tests use it as their cross-compiling emulator.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64
# Tests talk to servers on loopback; a proxy from the environment must not catch them.
export no_proxy=127.0.0.1,localhost NO_PROXY=127.0.0.1,localhost
mkdir -p "$WINEPREFIX"
# Without a display of its own, the one the test run started (scripts/wine-up.sh).
if [ -z "${DISPLAY:-}" ] && [ -f "$WINEPREFIX/xvfb-display" ]; then
  export DISPLAY=$(cut -d' ' -f2 "$WINEPREFIX/xvfb-display")
fi
exec wine "$@"
