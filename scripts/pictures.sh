#!/usr/bin/env bash
# Pictures of the add-in's windows as the Windows build shows them under Wine: the device
# dialog and the error message box, taken by reminder-host.exe while it runs
# tests/windows/host/pictures.scenario on an Xvfb display, written as PNGs to docs/pictures/.
#   scripts/pictures.sh [WIN64_BUILD_FOLDER]   (default build/win64; Reminder.dll and
#   reminder-host.exe built there, and build/dev's reminder-service, or $REMINDER_SERVICE)
#   PICTURES_DPI=144 scripts/pictures.sh   the same at 150 % (144 DPI), as NAME-150.png; the
#   prefix is set back to 96 DPI afterwards
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
service=${REMINDER_SERVICE:-$root/build/dev/reference-service/reminder-service}
out=$root/docs/pictures
export WINEPREFIX=$build/wine-prefix
dpi=${PICTURES_DPI:-96}
export PICTURES_SUFFIX="" PICTURES_SCREEN=800x600
[ "$dpi" = 96 ] || export PICTURES_SUFFIX="-$((dpi * 100 / 96))" PICTURES_SCREEN=1200x900
scale() {  # DPI: the prefix's display scale, taking effect with a fresh wineserver
  "$root/scripts/wine-run.sh" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1
  "$root/scripts/wine-run.sh" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1
  wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -w </dev/null >/dev/null 2>&1 || true
  "$root/scripts/wine-up.sh" >/dev/null
}
"$root/scripts/wine-up.sh" >/dev/null
[ "$dpi" = 96 ] || scale "$dpi"
# Wine's own Tahoma and Marlett, so that the dialog and its frame look as they should.
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/tahoma*.ttf /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
"$root/scripts/wine-run.sh" regsvr32 /s "$build/bin/Reminder.dll" </dev/null
"$root/scripts/wine-run.sh" reg delete \
  'HKCU\Software\Microsoft\Office\Outlook\Addins\Reminder.ReminderDesigner\Setting' /f </dev/null >/dev/null 2>&1 || true

work=$(mktemp -d)
trap 'kill "$service_pid" 2>/dev/null || true; rm -rf "$work"; [ "$dpi" = 96 ] || scale 96' EXIT
"$service" --port 0 --seed-demo --db "$work/service.db" >"$work/service.out" 2>&1 &
service_pid=$!
for _ in $(seq 50); do grep -q 'listening on' "$work/service.out" 2>/dev/null && break; sleep 0.1; done
SERVICE_URL=$(awk '/listening on/ {print $3}' "$work/service.out")
if [ -z "$SERVICE_URL" ]; then
  echo "reminder-service ($service) did not start:" >&2
  cat "$work/service.out" >&2
  exit 1
fi
export SERVICE_URL
export UNREACHABLE_URL=http://127.0.0.1:$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')

xvfb-run -a -s "-screen 0 ${PICTURES_SCREEN}x24" "$root/scripts/wine-run.sh" explorer /desktop=pictures,$PICTURES_SCREEN \
  "$build/bin/reminder-host.exe" run "$root/tests/windows/host/pictures.scenario" \
  --pictures "$(WINEDEBUG=-all winepath -w "$work")" </dev/null >"$work/transcript.txt" 2>&1 || true
if ! grep -q '^Scenario passed' "$work/transcript.txt"; then
  cat "$work/transcript.txt" >&2
  exit 1
fi
mkdir -p "$out"
convert "$work/device-dialog.bmp" "$out/device-dialog$PICTURES_SUFFIX.png"
convert "$work/message-critical.bmp" "$out/error-message$PICTURES_SUFFIX.png"
echo "wrote $out/device-dialog$PICTURES_SUFFIX.png and $out/error-message$PICTURES_SUFFIX.png"

# ---- The Options dialog with the settings page (first opening, the demo account's devices) ----
"$root/scripts/pictures-options.sh" "$build"
