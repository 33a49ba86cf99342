#!/usr/bin/env bash
# Cross-compiles the core and its suites for 64-bit Windows with MinGW-w64 into build-win/
# (BUILD_DIR=other for elsewhere) and runs the suites under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh --tests

build=${BUILD_DIR:-build-win}
jobs=$(nproc)
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs"
