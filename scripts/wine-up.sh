#!/usr/bin/env bash
# Starts the build's Wine prefix and keeps its wineserver up for a test run (--down stops it).
# Everything is detached from the caller's pipes: Wine's background services inherit them,
# and ctest would wait on them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wine-prefix}
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= WINEARCH=win64
display_file=$WINEPREFIX/xvfb-display
if [ "${1:-}" = "--down" ]; then
  wineserver -k </dev/null >/dev/null 2>&1 || true
  if [ -f "$display_file" ]; then
    kill "$(cut -d' ' -f1 "$display_file")" 2>/dev/null || true
    rm -f "$display_file"
  fi
  exit 0
fi
mkdir -p "$WINEPREFIX"
# Run without a display (ctest from a plain terminal), the tests that open windows share one
# virtual display for the whole run; wine-run.sh finds it here.
if [ -z "${DISPLAY:-}" ] && [ ! -f "$display_file" ] && command -v Xvfb >/dev/null; then
  n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  echo "$! :$n" >"$display_file"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
fi
[ -z "${DISPLAY:-}" ] && [ -f "$display_file" ] && export DISPLAY=$(cut -d' ' -f2 "$display_file")
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
