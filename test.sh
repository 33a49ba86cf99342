#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs every test: the suites in an
# optimised build, the same suites under AddressSanitizer and UndefinedBehaviorSanitizer, the
# core's suites cross-compiled for Windows and run under Wine, and a short run of every fuzz
# target on its seed corpus.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh --tests

jobs=$(nproc)
fuzz_seconds=${RESIPA_FUZZ_SECONDS:-5}

echo "== build and test"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRESIPA_BUILD_TESTS=ON \
    -DRESIPA_BUILD_BENCH=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== sanitizers"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DRESIPA_SANITIZE=ON -DRESIPA_BUILD_TESTS=ON \
    -DRESIPA_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 \
    LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== windows"
scripts/windows.sh

echo "== fuzzing (${fuzz_seconds}s a target)"
fuzz/run.sh "$fuzz_seconds"
