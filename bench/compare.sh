#!/usr/bin/env bash
# Times the receipt program's Preview beside what a user could use instead: GNU sed making the
# same fourteen substitutions with the same values, and cat copying the same bytes. All three
# read the same generated template (from the page cache) and write a new file in the same
# directory, on the same disk; never /dev/null. The Preview makes its document durable before
# publishing it (QSaveFile syncs the data, then renames), so sed and cat are also timed followed
# by `sync -d` of their output. Then measures the Preview's peak resident memory on a small and
# on a very large template, its time, memory and liveliness on hostile templates, runs the in-process benchmarks the goals name (amount in words, one
# digit typed into the amount field, start-up), and checks every figure against its goal.
#
# Run after ./test.sh has built build/ (missing programs are built here).
# BUILD_DIR picks another build directory (default: build); RUNS the repetitions, best of which
# counts (default: 5); SIZE_MB the template for the timings (default: 50; MB = 10^6 bytes).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build}
runs=${RUNS:-5}
size_mb=${SIZE_MB:-50}
small_mb=1
large_mb=200

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build_dir" -j "$(nproc)" \
    --target resipa_preview_run resipa_make_template bench_core bench_window >/dev/null
preview_run=$build_dir/bench/resipa_preview_run
make_template=$build_dir/bench/resipa_make_template

work=$(mktemp -d "${TMPDIR:-/tmp}/resipa-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT
template=$work/rspdefault.rtf

export QT_QPA_PLATFORM=offscreen
# Qt warns on every run when there is none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR=$work/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
fi

# The same substitutions the Preview makes, in its order, with the values the driver types in.
sed_args=()
while IFS=$'\t' read -r placeholder value; do
    pattern=${placeholder//[/\\[}
    pattern=${pattern//]/\\]}
    value=${value//\\/\\\\}
    value=${value//&/\\&}
    value=${value//|/\\|}
    sed_args+=(-e "s|$pattern|$value|g")
done < <("$preview_run" --placeholders)
if [ ${#sed_args[@]} -ne 28 ]; then
    echo "compare.sh: expected fourteen placeholders from $preview_run" >&2
    exit 1
fi

preview_click_ns=0
run_preview() {
    local click_ms
    click_ms=$("$preview_run" "$work" | sed -n 's/^preview_ms=//p')
    local click_ns
    click_ns=$(awk -v ms="$click_ms" 'BEGIN { printf "%d", ms * 1e6 }')
    if ((preview_click_ns == 0 || click_ns < preview_click_ns)); then
        preview_click_ns=$click_ns
    fi
}
run_sed() { sed "${sed_args[@]}" "$template" >"$work/sed.rtf"; }
run_sed_sync() { run_sed && sync -d "$work/sed.rtf"; }
run_cat() { cat "$template" >"$work/cat.rtf"; }
run_cat_sync() { run_cat && sync -d "$work/cat.rtf"; }

# time_once CMD: runs CMD once and leaves its wall-clock time in elapsed_ns. Earlier outputs
# are removed and dirty pages written out first, untimed, so that every run creates its file
# afresh, as the Preview does, on a disk with nothing else to write.
time_once() {
    rm -f "$work/Resipa.rtf" "$work/sed.rtf" "$work/cat.rtf"
    sync
    local start
    start=$(date +%s%N)
    "$1"
    elapsed_ns=$(($(date +%s%N) - start))
}

bytes=$((size_mb * 1000000))
mb_per_s() { awk -v b="$bytes" -v ns="$1" 'BEGIN { printf "%.0f", b / 1e6 / (ns / 1e9) }'; }
throughput_ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b / a }'; }
ms() { awk -v ns="$1" 'BEGIN { printf "%.1f", ns / 1e6 }'; }
row() { printf '%-46s %9s %9s\n' "$1" "$(ms "$2")" "$(mb_per_s "$2")"; }

# Two shapes of the same size, writing and syncing the same bytes: the receipt around one logo
# (nearly every line lacks a "["), and the receipt after every forty lines of picture data, about
# every 7 KB, where the lines holding placeholders are the work.
shapes=(logo dense)
declare -A best=() click_ns=()
programs=(run_preview run_sed run_sed_sync run_cat run_cat_sync)
for shape in "${shapes[@]}"; do
    "$make_template" "$template" "$bytes" "$shape"
    # The comparison is only fair when sed and the Preview do the same work: same bytes out.
    run_preview
    run_sed
    if ! cmp -s "$work/Resipa.rtf" "$work/sed.rtf"; then
        echo "compare.sh: the Preview's document differs from sed's ($shape template);" \
            "the timings would not compare" >&2
        exit 1
    fi

    # Best of $runs, in interleaved rounds, so that a busy moment on the machine hurts no one
    # program alone.
    for program in "${programs[@]}"; do best[$shape.$program]=0; done
    preview_click_ns=0
    for ((round = 0; round < runs; round++)); do
        for program in "${programs[@]}"; do
            time_once "$program"
            if ((best[$shape.$program] == 0 || elapsed_ns < best[$shape.$program])); then
                best[$shape.$program]=$elapsed_ns
            fi
        done
    done
    click_ns[$shape]=$preview_click_ns

    echo "Template, $shape shape: $size_mb MB ($bytes bytes, CR LF lines, pictures as hex)," \
        "best of $runs runs;"
    echo "every program writes a new file next to the template ($work, same disk)."
    printf '%-46s %9s %9s\n' "" "ms" "MB/s"
    row "Preview, whole process (start-up, click, exit)" "${best[$shape.run_preview]}"
    row "Preview, the click alone" "${click_ns[$shape]}"
    row "sed, 14 expressions, to a file" "${best[$shape.run_sed]}"
    row "sed, 14 expressions, to a file + sync -d" "${best[$shape.run_sed_sync]}"
    row "cat, to a file" "${best[$shape.run_cat]}"
    row "cat, to a file + sync -d" "${best[$shape.run_cat_sync]}"
    echo "Throughput ratios (higher is better for the Preview):"
    printf '  %-40s %8s %8s\n' "" "process" "click"
    for other in sed sed_sync cat cat_sync; do
        printf '  %-40s %8s %8s\n' "Preview / ${other/_sync/ + sync -d}" \
            "$(throughput_ratio "${best[$shape.run_preview]}" "${best[$shape.run_$other]}")" \
            "$(throughput_ratio "${click_ns[$shape]}" "${best[$shape.run_$other]}")"
    done
done

# peak_kb MB: the Preview's maximum resident set size on a template of MB megabytes.
peak_kb() {
    "$make_template" "$template" $(($1 * 1000000))
    /usr/bin/time -v "$preview_run" "$work" 2>&1 >/dev/null |
        awk -F': ' '/Maximum resident set size/ { print $2 }'
}
small_kb=$(peak_kb "$small_mb")
large_kb=$(peak_kb "$large_mb")
echo "Peak resident memory of a Preview (/usr/bin/time -v, maximum resident set size):"
printf '  %4d MB template: %8d KB\n' "$small_mb" "$small_kb"
printf '  %4d MB template: %8d KB\n' "$large_mb" "$large_kb"
printf '  difference:        %8d KB\n' $((large_kb - small_kb))

# Hostile templates beside the logo templates of 1 and 50 MB: one 24 MB line of picture data (as pandoc
# writes a picture), 50 MB of "[" and "[NAMA]" repeated to 50 MB. For each, the click's time
# (best of $runs, interleaved), the Preview's peak resident memory and the longest the window
# went without running its events (the most over the runs).
hostile=("logo 1" "logo 50" "hexline 24" "brackets 50" "names 50")
declare -A shape_ms=() shape_kb=() shape_wait=()
for entry in "${hostile[@]}"; do
    read -r shape mb <<<"$entry"
    mkdir -p "$work/$shape-$mb"
    "$make_template" "$work/$shape-$mb/rspdefault.rtf" $((mb * 1000000)) "$shape"
    shape_ms[$entry]=0 shape_kb[$entry]=0 shape_wait[$entry]=0
done
for ((round = 0; round < runs; round++)); do
    for entry in "${hostile[@]}"; do
        read -r shape mb <<<"$entry"
        rm -rf "$work/$shape-$mb/Resipa.rtf" "$work/$shape-$mb/.kwitansi"
        sync
        out=$(/usr/bin/time -f 'maxrss_kb=%M' "$preview_run" "$work/$shape-$mb" 2>&1)
        read -r ms wait kb < <(awk -F= '{ v[$1] = $2 } END {
            print v["preview_ms"] + 0, v["longest_wait_ms"] + 0, v["maxrss_kb"] + 0 }' <<<"$out")
        if [ "$kb" = 0 ]; then
            echo "compare.sh: the Preview of $shape-$mb failed: $out" >&2
            exit 1
        fi
        shape_ms[$entry]=$(awk -v a="${shape_ms[$entry]}" -v b="$ms" 'BEGIN { print ((a == 0 || b < a) ? b : a) }')
        shape_wait[$entry]=$(awk -v a="${shape_wait[$entry]}" -v b="$wait" 'BEGIN { print (b > a ? b : a) }')
        ((kb > shape_kb[$entry])) && shape_kb[$entry]=$kb
    done
done
echo "Hostile templates (the click, best of $runs; peak memory; longest wait for events):"
printf '  %-14s %10s %12s %10s\n' template "click ms" "peak KB" "wait ms"
for entry in "${hostile[@]}"; do
    printf '  %-14s %10.1f %12d %10.1f\n' "${entry/ /, } MB" "${shape_ms[$entry]}" \
        "${shape_kb[$entry]}" "${shape_wait[$entry]}"
done

# In-process benchmarks, as CSV: name, iterations, real_time, cpu_time, time_unit,
# bytes_per_second, items_per_second, ...
core_csv=$("$build_dir/bench/bench_core" --benchmark_filter='^BM_KonversiTerbilang$' \
    --benchmark_min_time=1 --benchmark_format=csv 2>/dev/null)
window_csv=$("$build_dir/bench/bench_window" --benchmark_filter='^BM_(TypeDigit|StartUp)' \
    --benchmark_min_time=1 --benchmark_format=csv 2>/dev/null)
# field CSV NAME COLUMN: that column of the benchmark whose name holds NAME.
field() { awk -F, -v name="$2" -v column="$3" 'index($1, name) { print $column }' <<<"$1"; }
words_per_s=$(field "$core_csv" BM_KonversiTerbilang 7)
digit_form=$(field "$window_csv" 'BM_TypeDigit/Form1_txtJml' 3)
digit_bare=$(field "$window_csv" 'BM_TypeDigit/bare_QLineEdit' 3)
repaint_form=$(field "$window_csv" 'BM_TypeDigitAndRepaint/Form1_txtJml' 3)
repaint_bare=$(field "$window_csv" 'BM_TypeDigitAndRepaint/bare_QLineEdit' 3)
start_form=$(field "$window_csv" 'BM_StartUp/Form1' 3)
start_bare=$(field "$window_csv" 'BM_StartUp/bare_window' 3)
echo "In-process benchmarks (bench_core, bench_window; offscreen platform):"
awk -v n="$words_per_s" 'BEGIN { printf "  KonversiTerbilang: %.1f million amounts/s\n", n / 1e6 }'
printf '  one digit into txtJml:       %8.1f us, bare QLineEdit %8.1f us\n' "$digit_form" \
    "$digit_bare"
printf '  the same, repaint included:  %8.1f us, bare QLineEdit %8.1f us\n' "$repaint_form" \
    "$repaint_bare"
printf '  start-up until exposed:      %8.3f ms, bare window    %8.3f ms\n' "$start_form" \
    "$start_bare"

# goal LABEL VALUE OPERATOR LIMIT: one line saying whether VALUE meets the goal.
goal() {
    awk -v label="$1" -v value="$2" -v op="$3" -v limit="$4" 'BEGIN {
        met = (op == ">=" && value >= limit) || (op == "<=" && value <= limit) ||
              (op == "<" && value < limit)
        printf "  %-48s %10.2f  goal %s %-8s %s\n", label, value, op, limit, met ? "met" : "MISSED"
    }'
}
quotient() { awk -v a="$1" -v b="$2" 'BEGIN { print a / b }'; }
echo "Goals:"
declare -A least_ratio=([sed]=10 [cat]=0.333)
for shape in "${shapes[@]}"; do
    for other in sed cat; do
        least=${least_ratio[$other]}
        goal "$shape: Preview/$other throughput, whole process" \
            "$(throughput_ratio "${best[$shape.run_preview]}" "${best[$shape.run_$other]}")" ">=" \
            "$least"
        goal "$shape: Preview/$other throughput, click alone" \
            "$(throughput_ratio "${click_ns[$shape]}" "${best[$shape.run_$other]}")" ">=" "$least"
    done
    # The click against the same durability: the receipt written and synced, keypress to open
    # request.
    goal "$shape: Preview/(sed+sync) throughput, click" \
        "$(throughput_ratio "${click_ns[$shape]}" "${best[$shape.run_sed_sync]}")" ">=" 10
    goal "$shape: Preview/(cat+sync) throughput, click" \
        "$(throughput_ratio "${click_ns[$shape]}" "${best[$shape.run_cat_sync]}")" ">=" 0.9
done
goal "peak memory growth 1 -> 200 MB (MB)" "$(quotient $((large_kb - small_kb)) 1024)" "<" 16
for entry in "hexline 24" "brackets 50" "names 50"; do
    goal "peak memory growth 1 MB -> ${entry/ /, } MB (MB)" \
        "$(quotient $((shape_kb[$entry] - shape_kb["logo 1"])) 1024)" "<" 16
    goal "click, ${entry/ /, } MB / logo, 50 MB" \
        "$(quotient "${shape_ms[$entry]}" "${shape_ms["logo 50"]}")" "<=" 3
done
for entry in "${hostile[@]}"; do
    goal "longest wait for events, ${entry/ /, } MB (ms)" "${shape_wait[$entry]}" "<=" 50
done
goal "KonversiTerbilang (million amounts/s)" "$(quotient "$words_per_s" 1e6)" ">=" 20
goal "one digit: txtJml / bare QLineEdit" "$(quotient "$digit_form" "$digit_bare")" "<=" 1.5
goal "start-up: Form1 / bare window" "$(quotient "$start_form" "$start_bare")" "<=" 1.5
