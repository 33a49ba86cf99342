#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60) on a working
# copy of the committed seed corpus. Fails on the first finding; the input is kept in
# build-fuzz/artifacts/.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}

CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DRESIPA_BUILD_APP=OFF -DRESIPA_BUILD_TESTS=OFF -DRESIPA_BUILD_BENCH=OFF \
    -DRESIPA_BUILD_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

mkdir -p "$build/artifacts"
for target in amount terbilang profile template; do
    work="$build/corpus/$target"
    mkdir -p "$work"
    echo "fuzz_$target: ${seconds}s"
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=4096 -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
        "$work" "$root/fuzz/corpus/$target" 2>"$build/fuzz_$target.log" || {
        tail -n 40 "$build/fuzz_$target.log"
        echo "fuzz_$target found a failing input" >&2
        exit 1
    }
    grep -E '^stat::number_of_executed_units' "$build/fuzz_$target.log" || true
done
echo "fuzzing: all targets ran ${seconds}s without a finding"
