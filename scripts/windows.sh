#!/usr/bin/env bash
# The Windows build, cross-compiled for 64-bit Windows with MinGW-w64:
#   scripts/windows.sh            the program, the core's suites and the window's suite in
#                                 build-win/, the suites run under Wine
#   scripts/windows.sh --program  the program alone, build-win-program/bin/resipa.exe with its
#                                 files beside it; no Wine needed
#   scripts/windows.sh --setup    the setup of the program for an office,
#                                 build-win-program/resipa-setup-VERSION.exe; no Wine needed
# BUILD_DIR=other builds elsewhere.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
toolchain=-DCMAKE_TOOLCHAIN_FILE=$PWD/cmake/mingw-w64-x86_64.cmake

if [ "${1:-}" = --program ] || [ "${1:-}" = --setup ]; then
    source scripts/setup.sh --windows
    build=${BUILD_DIR:-build-win-program}
    cmake -S . -B "$build" "$toolchain" -DCMAKE_BUILD_TYPE=Release -DRESIPA_BUILD_TESTS=OFF
    if [ "$1" = --setup ]; then
        cmake --build "$build" -j "$jobs" --target setup
        echo "Made the setup: $(ls "$build"/resipa-setup-*.exe)"
        exit 0
    fi
    cmake --build "$build" -j "$jobs" --target resipa
    echo "Built $build/bin/resipa.exe with rspdefault.rtf and informasi.inf beside it:" \
        "copy the folder $build/bin to Windows."
    exit 0
fi

source scripts/setup.sh --tests
build=${BUILD_DIR:-build-win}
cmake -S . -B "$build" "$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRESIPA_BUILD_TESTS=ON
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs"
