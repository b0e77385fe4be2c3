#!/usr/bin/env bash
# The benchmarks: builds tarvanel-bench and reminder-service (Release, BUILD_BENCH=ON) in
# build/bench, starts the reference service with the demo account on a free loopback port and
# a temporary database, runs every measurement, prints the tables and writes bench/RESULTS.md.
#
#   scripts/bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_BENCH=ON -DBUILD_TESTS=OFF \
  -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build "$build" --target tarvanel-bench reminder-service -j "$(nproc)" >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvanel-bench.XXXXXX")
service_pid=""
cleanup() {
  if [ -n "$service_pid" ]; then
    kill "$service_pid" 2>/dev/null || true
    wait "$service_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The service prints "listening on http://ADDR:PORT" first; read it from a pipe.
mkfifo "$work/service.out"
"$build/reference-service/reminder-service" --seed-demo --port 0 --db "$work/service.db" \
  >"$work/service.out" 2>"$work/service.err" &
service_pid=$!
exec 3<"$work/service.out"
if ! read -r -t 10 first_line <&3; then
  echo "bench.sh: the reference service did not start:" >&2
  cat "$work/service.err" >&2
  exit 1
fi
base_url="${first_line#listening on }"
echo "Reference service at $base_url"

"$build/bench/tarvanel-bench" --service "$base_url" --results bench/RESULTS.md
