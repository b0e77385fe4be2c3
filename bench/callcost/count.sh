#!/usr/bin/env bash
# Instructions per GetOneMemberDevice call, counted by callgrind: two runs of a callcost driver
# with different numbers of calls, so that start-up and the first call drop out.
#
#   bench/callcost/count.sh BUILD_DIR [--service URL [--raw]]
# Without --service the canned driver is counted (the library's own work alone). The callgrind
# output of the longer run is left in $TMPDIR/callcost.out.* for callgrind_annotate.
set -euo pipefail
build=$1
shift
driver="$build/bench/tarvanel-callcost-canned"
if [ "${1:-}" = "--service" ]; then driver="$build/bench/tarvanel-callcost"; fi
out="${TMPDIR:-/tmp}/callcost.out"
few=100
many=1100

# count CALLS ARGS...: the instructions of one run.
count() {
  local calls=$1
  shift
  valgrind --tool=callgrind --callgrind-out-file="$out.$calls" "$driver" "$@" --calls "$calls" >/dev/null \
    2>"$out.$calls.log"
  sed -n 's/^==[0-9]*== Collected : *\([0-9]*\).*/\1/p' "$out.$calls.log"
}

a=$(count "$few" "$@")
b=$(count "$many" "$@")
echo "$(basename "$driver") $*: $(( (b - a) / (many - few) )) instructions per call"
