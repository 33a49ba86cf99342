#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the receipt program and starts it.
# BUILD_DIR picks another build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir" --target resipa -j"$(nproc)"
exec "$build_dir/bin/resipa"
