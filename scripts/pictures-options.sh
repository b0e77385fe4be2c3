#!/usr/bin/env bash
# Pictures of the client's Options dialog with the settings page (Orvane.ocx), as the Windows
# build shows them under Wine: at the first opening, and with the demo account's devices from
# the reference service. Written as PNGs to docs/pictures/.
#   scripts/pictures-options.sh [WIN64_BUILD_FOLDER]   (default build/win64; Orvane.ocx and
#   options-pictures.exe built there, and build/dev's reminder-service, or $REMINDER_SERVICE)
#   PICTURES_SUFFIX (added to each name) and PICTURES_SCREEN (the display's size) come from
#   scripts/pictures.sh when it takes the pictures at another scale.
set -euo pipefail
suffix=${PICTURES_SUFFIX:-}
screen=${PICTURES_SCREEN:-800x600}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
service=${REMINDER_SERVICE:-$root/build/dev/reference-service/reminder-service}
out=$root/docs/pictures
export WINEPREFIX=$build/wine-prefix
wine_run=$root/scripts/wine-run.sh
settings='HKCU\Software\Microsoft\Office\Outlook\Addins\Reminder.ReminderDesigner\Setting'
"$root/scripts/wine-up.sh" >/dev/null
# Wine's own Tahoma and Marlett, so that the dialog and its frame look as they should.
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/tahoma*.ttf /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
"$wine_run" regsvr32 /s "$build/bin/Orvane.ocx" </dev/null

work=$(mktemp -d)
trap 'kill "$service_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
"$service" --port 0 --seed-demo --db "$work/service.db" >"$work/service.out" 2>&1 &
service_pid=$!
for _ in $(seq 50); do grep -q 'listening on' "$work/service.out" 2>/dev/null && break; sleep 0.1; done
service_url=$(awk '/listening on/ {print $3}' "$work/service.out")
[ -n "$service_url" ] || { echo "reminder-service ($service) did not start" >&2; exit 1; }
folder=$(WINEDEBUG=-all winepath -w "$work")

picture() {  # NAME: the dialog as the stored settings make it
  xvfb-run -a -s "-screen 0 ${screen}x24" "$wine_run" explorer /desktop=pictures,$screen \
    "$build/bin/options-pictures.exe" "$folder" "$1" </dev/null >"$work/$1.txt" 2>&1 || true
  if [ ! -s "$work/$1.bmp" ]; then
    cat "$work/$1.txt" >&2
    exit 1
  fi
  mkdir -p "$out"
  convert "$work/$1.bmp" "$out/$1$suffix.png"
  echo "wrote $out/$1$suffix.png"
}

"$wine_run" reg delete "$settings" /f </dev/null >/dev/null 2>&1 || true
picture options-first-opening

add() { "$wine_run" reg add "$settings" /v "$1" /t REG_SZ /d "$2" /f </dev/null >/dev/null 2>&1; }
add UserID demo
add Password ZGVtbw==
add WebServiceURL "$service_url/WebService/OutlookPlugin.asmx"
add Device HomeEmail,SMS
picture options-devices

"$wine_run" reg delete "$settings" /f </dev/null >/dev/null 2>&1 || true
"$wine_run" regsvr32 /s /u "$build/bin/Orvane.ocx" </dev/null
