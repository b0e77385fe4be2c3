#!/usr/bin/env bash
# The demo: the reference reminder service on loopback with the demo account, and the
# stand-in client with the Reminder add-in and the settings page loaded, on this terminal.
#
#   scripts/run.sh [--calendar PATH]     the client on this terminal
#   scripts/run.sh --scenario FILE       run a scenario against the demo service instead
#
# Installs the Debian packages that are missing and builds (scripts/install-deps.sh, then an
# incremental build), keeps the service's database and the registry file in a
# temporary folder (the user's own settings are not touched), and stops the service on exit.
# Without --calendar the calendar lives in that folder too; give --calendar to keep it, or to
# open a calendar exported from another program. TARVANEL_BUILD names another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${TARVANEL_BUILD:-build/dev}"
scenario=""
host_args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --scenario) scenario="${2:?--scenario needs a file}"; shift 2 ;;
    --calendar) host_args+=(--calendar "${2:?--calendar needs a path}"); shift 2 ;;
    -h|--help) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "run.sh: unknown argument \"$1\" (try --help)" >&2; exit 2 ;;
  esac
done

host="$build/host/reminder-host"
service="$build/reference-service/reminder-service"
falcrest="$build/library/falcrest"
scripts/install-deps.sh
echo "run.sh: building reminder-host, reminder-service and falcrest in $build"
cmake --preset dev -B "$build" >/dev/null
cmake --build "$build" --target reminder-host reminder-service falcrest_cli -j "$(nproc)" >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvanel-demo.XXXXXX")
. scripts/reference-service.sh
start_reference_service "$service" "$work"
echo "Reference service at $base_url"

export FALCREST_REGISTRY="$work/registry.reg"
key='Software\Microsoft\Office\Outlook\Addins\Reminder.ReminderDesigner\Setting'
"$falcrest" registry set HKCU "$key" UserID demo
"$falcrest" registry set HKCU "$key" Password "$("$falcrest" base64-encode demo)"
"$falcrest" registry set HKCU "$key" WebServiceURL "$base_url/WebService/OutlookPlugin.asmx"
"$falcrest" registry set HKCU "$key" Device HomeEmail
"$host" register >/dev/null

if [ -n "$scenario" ]; then
  SERVICE_URL="$base_url" SERVICE_DB="$work/service.db" "$host" run "$scenario" "${host_args[@]}"
  exit $?
fi

if [ ${#host_args[@]} -eq 0 ]; then
  host_args=(--calendar "$work/calendar.ics")
fi
echo "To see the reminders on the service, open $base_url/Reminders.aspx in a browser"
echo "and log in as member demo with the password demo."
"$host" "${host_args[@]}"
