#!/usr/bin/env bash
# Removes what `cmake --install build --prefix DIR` put into DIR, keeping the operator's own
# files until --all (uninstall/uninstall.cpp says what stays and why).
#
# DIR may be another user's, so the program that does the work is never one found there: it is
# resipa_uninstall, built from this source tree into its build folder (BUILD_DIR, default
# build; a build without Qt in build-uninstall when that has not been configured), and brought
# up to date first when this user may write that folder.
#
# Usage: scripts/uninstall.sh DIR [--all]
set -euo pipefail
source=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-build}
[[ $build = /* ]] || build=$source/$build
if [ ! -f "$build/CMakeCache.txt" ]; then
    build=$source/build-uninstall
    [ -f "$build/CMakeCache.txt" ] || cmake -S "$source" -B "$build" -DRESIPA_BUILD_APP=OFF \
        -DRESIPA_BUILD_TESTS=OFF -DRESIPA_BUILD_BENCH=OFF >/dev/null
fi
program=$build/uninstall/resipa_uninstall
if [ -w "$build" ]; then
    log=$(cmake --build "$build" --target resipa_uninstall 2>&1) || {
        printf '%s\n' "$log" >&2
        exit 1
    }
fi
[ -x "$program" ] || {
    echo "No $program: build it as the owner of $build (cmake --build $build --target resipa_uninstall)." >&2
    exit 1
}
exec "$program" "$@"
