#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine with what the receipt program needs, builds it (with the
# icons an install needs) and starts it.
# BUILD_DIR picks another build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh --program

build_dir=${BUILD_DIR:-build}
# The program alone: the tests and benchmarks need what only ./test.sh installs.
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRESIPA_BUILD_TESTS=OFF \
    -DRESIPA_BUILD_BENCH=OFF
cmake --build "$build_dir" --target resipa -j"$(nproc)"
exec "$build_dir/bin/resipa"
