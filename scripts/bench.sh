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

# The Windows build's save through the same proxy, under Wine, where the MinGW tool chain is.
if command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v wine >/dev/null; then
  cmake --preset win64 -B build/bench-win -DBUILD_BENCH=ON -DBUILD_TESTS=OFF >/dev/null
  cmake --build build/bench-win --target tarvanel-save-driver -j "$(nproc)" >/dev/null
  cmake --build "$build" --target tarvanel-bench-wine -j "$(nproc)" >/dev/null
  export WINEPREFIX=$PWD/build/bench-win/wine-prefix
  scripts/wine-up.sh >/dev/null
  "$build/bench/windows/tarvanel-bench-wine" --service "$base_url" --results bench/RESULTS.md \
    --driver build/bench-win/bench/windows/tarvanel-save-driver.exe || echo "bench: the Windows row failed" >&2
  scripts/wine-up.sh --down
fi
