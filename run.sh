#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine with what the receipt program needs, builds it (with the
# icons an install needs) and starts it.
# BUILD_DIR picks another build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh --program

build_dir=${BUILD_DIR:-build}
# A new build leaves out the tests and benchmarks, whose packages only ./test.sh installs; one
# that ./test.sh configured keeps them.
options=()
[ -f "$build_dir/CMakeCache.txt" ] || options=(-DRESIPA_BUILD_TESTS=OFF -DRESIPA_BUILD_BENCH=OFF)
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}"
cmake --build "$build_dir" --target resipa -j"$(nproc)"
exec "$build_dir/bin/resipa"
