#!/usr/bin/env bash
# Builds everything and runs every test: the POSIX build with its ctest suite, then the
# portable core cross-compiled with MinGW-w64.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)

echo "== POSIX build and tests"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
ctest --preset dev

echo "== portable core with MinGW-w64"
cmake --preset mingw-core >/dev/null
cmake --build --preset mingw-core -j "$jobs"
