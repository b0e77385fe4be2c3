#!/usr/bin/env bash
# Starts the build's Wine prefix and keeps its wineserver up for a test run (--down stops it).
# Everything is detached from the caller's pipes: Wine's background services inherit them,
# and ctest would wait on them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wine-prefix}
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= WINEARCH=win64
if [ "${1:-}" = "--down" ]; then
  wineserver -k </dev/null >/dev/null 2>&1 || true
  exit 0
fi
mkdir -p "$WINEPREFIX"
# A server already up for this prefix (from a manual run) serves as well.
wineserver -p </dev/null >/dev/null 2>&1 || true
wine wineboot </dev/null >/dev/null 2>&1
# Without a window manager every window waits for a withdrawn state; a virtual desktop does not.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 640x480 /f </dev/null >/dev/null 2>&1
# With the debugger on, a crashing program can end with status 0 and pass its test; without
# it, the crash ends the program with a failure status.
wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f \
  </dev/null >/dev/null 2>&1 || true
echo "wine prefix ready: $WINEPREFIX"
