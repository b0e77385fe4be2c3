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
. scripts/reference-service.sh
start_reference_service "$build/reference-service/reminder-service" "$work"
echo "Reference service at $base_url"

"$build/bench/tarvanel-bench" --service "$base_url" --results bench/RESULTS.md
