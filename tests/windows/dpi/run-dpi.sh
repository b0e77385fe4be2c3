#!/usr/bin/env bash
# Runs the DPI test program once at each display scale, in a Wine prefix of its own (the
# scale is a setting of the whole prefix, and a change needs its wineserver restarted), on an
# Xvfb display of its own with room for the largest windows, and with Wine's Tahoma.
#   run-dpi.sh WINE-WRAPPER PREFIX PROGRAM
set -uo pipefail
wrapper=$1
export WINEPREFIX=$2
program=$3
root=$(cd "$(dirname "$0")/../../.." && pwd)
"$root/scripts/wine-up.sh" >/dev/null
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fonts='HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'
out=$(mktemp)
trap 'rm -f "$out"; "$wrapper" reg add "HKCU\Control Panel\Desktop" /v LogPixels /t REG_DWORD /d 96 /f \
  >/dev/null 2>&1 </dev/null; "$wrapper" reg add "$fonts" /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 \
  </dev/null; wineserver -k </dev/null >/dev/null 2>&1' EXIT
status=0
for dpi in 96 120 144 192; do
  "$wrapper" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f </dev/null >/dev/null 2>&1
  "$wrapper" reg add "$fonts" /v LogPixels /t REG_DWORD /d $dpi /f </dev/null >/dev/null 2>&1
  wineserver -k </dev/null >/dev/null 2>&1
  wineserver -w </dev/null >/dev/null 2>&1
  echo "== at $dpi DPI"
  DPI_EXPECTED=$dpi xvfb-run -a -s '-screen 0 1920x1440x24' "$wrapper" explorer /desktop=dpi-test,1920x1440 \
    "$program" </dev/null >"$out" 2>&1
  cat "$out"
  # The desktop's launcher does not pass the exit status on: the summary tells.
  if ! grep -q '^\[  PASSED  \] 2 tests' "$out" || grep -q '^\[  FAILED  \]' "$out"; then status=1; fi
done
exit $status
