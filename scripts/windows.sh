#!/usr/bin/env bash
# Cross-compiles for 64-bit Windows with MinGW-w64 into build-win/ (BUILD_DIR=other for
# elsewhere) and runs the suites and the setup under Wine. `scripts/windows.sh setup` makes
# only the Windows setup, resipa-setup-VERSION.exe in that folder, with neither suites nor Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build-win}
jobs=$(nproc)
configure=(-S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake"
    -DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = setup ]; then
    source scripts/setup.sh --windows
    # A folder made for the setup alone builds no suites; one that has them keeps them.
    [ -f "$build/CMakeCache.txt" ] || configure+=(-DRESIPA_BUILD_TESTS=OFF)
    cmake "${configure[@]}"
    cmake --build "$build" -j "$jobs" --target setup
    exit
fi

source scripts/setup.sh --tests
cmake "${configure[@]}" -DRESIPA_BUILD_TESTS=ON
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs"
