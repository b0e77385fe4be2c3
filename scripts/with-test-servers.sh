#!/usr/bin/env bash
# with-test-servers.sh PROGRAM COMMAND...: runs COMMAND (a test under Wine) with the tests'
# servers program beside it, its control port in TEST_SERVERS, and ends the program after.
set -euo pipefail
if [ $# -lt 2 ] || [ "$1" = "--help" ]; then
  echo "usage: with-test-servers.sh TEST-SERVERS-PROGRAM COMMAND..." >&2
  exit 2
fi
program=$1
shift
[ -x "$program" ] || { echo "with-test-servers.sh: $program is missing: build the dev preset first" >&2; exit 1; }
coproc servers { exec "$program"; }
trap 'kill "$servers_PID" 2>/dev/null || true' EXIT
read -r line <&"${servers[0]}"
case "$line" in
  "test servers listening on "*) export TEST_SERVERS=${line##* } ;;
  *) echo "with-test-servers.sh: the test servers did not start: $line" >&2; exit 1 ;;
esac
status=0
"$@" || status=$?
exit "$status"
