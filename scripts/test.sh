#!/usr/bin/env bash
# Builds everything and runs every test: the POSIX build with its ctest suite, the
# Windows build cross-compiled with MinGW-w64 and its tests under Wine, the whole suite again
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "== Debian packages (installs what is missing)"
scripts/install-deps.sh

jobs=$(nproc)

echo "== POSIX build and tests"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
ctest --preset dev

echo "== Windows build (MinGW-w64): 32-bit files, checked statically, and 64-bit ones with their tests under Wine"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"

echo "== Windows installers: dist/TarvanelReminder-*-x64.msi and -x86.msi"
scripts/package.sh
# Windows programs that open windows need a display; Xvfb gives them one.
xvfb-run -a ctest --preset win64

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan

echo "== fuzz targets, about 10 seconds each"
scripts/fuzz.sh --smoke
