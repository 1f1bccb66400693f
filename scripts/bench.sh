#!/usr/bin/env bash
# Engine speed: the Google Benchmark of the engine, then a timed companion run of
# one million plays. Prints plays per second and the cost relative to the
# hand-written baseline loop (target: at most 1.3).
# Usage: scripts/bench.sh [BUILD_DIR]   (default: build)
set -euo pipefail
build=${1:-build}
bench="$build/bin/bench_engine"
cli="$build/bin/yonatama-cli"
for f in "$bench" "$cli"; do
    [ -x "$f" ] || { echo "missing $f (build with -DYONATAMA_BENCH=ON first)" >&2; exit 1; }
done

csv=$(mktemp)
trap 'rm -f "$csv"' EXIT
"$bench" --benchmark_min_time=0.3 --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv >"$csv" 2>/dev/null
# Median CPU time in ms of one benchmark (names are quoted in the csv).
median() { awk -F, -v n="\"$1/1000000_median\"" '$1 == n { print $4 }' "$csv"; }
hand=$(median BM_HandLoop)
engine=$(median BM_EngineShoot)
recorded=$(median BM_RecordedRun)
echo "benchmark medians for 1000000 plays (CPU ms):"
printf '  hand-written loop %8.1f\n  engine Shoot loop %8.1f\n  run with records  %8.1f\n' \
    "$hand" "$engine" "$recorded"
awk -v h="$hand" -v e="$engine" -v r="$recorded" 'BEGIN {
    printf "  ratio engine/hand %.2f, records/hand %.2f; %.2fM plays/s with records\n",
           e / h, r / h, 1000 / r }'

# The companion run, best of three. CPU time (user + system) is compared, as the
# benchmark's is; wall time is shown too but suffers on a busy machine.
run_cli() { "$cli" run --plays 1000000 --seed 5 >/dev/null; }
best_cpu=""
best_wall=""
peak=""
for _ in 1 2 3; do
    if [ -x /usr/bin/time ]; then
        out=$( { /usr/bin/time -f "%e %U %S %M" "$cli" run --plays 1000000 --seed 5 >/dev/null; } 2>&1 )
        read -r wall user sys kb <<<"$out"
        cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.0f", (u + s) * 1000 }')
        wall=$(awk -v w="$wall" 'BEGIN { printf "%.0f", w * 1000 }')
        peak=$kb
    else
        TIMEFORMAT="%R %U %S"
        out=$( { time run_cli; } 2>&1 )
        read -r wall user sys <<<"$out"
        cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.0f", (u + s) * 1000 }')
        wall=$(awk -v w="$wall" 'BEGIN { printf "%.0f", w * 1000 }')
    fi
    if [ -z "$best_cpu" ] || [ "$cpu" -lt "$best_cpu" ]; then best_cpu=$cpu; fi
    if [ -z "$best_wall" ] || [ "$wall" -lt "$best_wall" ]; then best_wall=$wall; fi
done
echo "yonatama-cli run --plays 1000000 --seed 5: best of 3: CPU ${best_cpu} ms, wall ${best_wall} ms"
awk -v c="$best_cpu" -v h="$hand" 'BEGIN {
    printf "  ratio companion/hand %.2f (target <= 1.3); %.2fM plays/s\n", c / h, 1000 / c }'
if [ -n "$peak" ]; then
    awk -v k="$peak" 'BEGIN { printf "  peak memory %.1f MB (records: 20 MB)\n", k / 1024 }'
fi
