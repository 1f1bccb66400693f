#!/usr/bin/env bash
# Engine speed: the Google Benchmark of the engine, then a timed companion run of
# one million plays. Prints plays per second and the cost relative to the
# hand-written baseline loop (target: at most 1.3).
# With `display` it instead times showing whole runs of 1, 3 and 10 million
# plays against the engine-only run of the same plays (see display_bench).
# Usage: scripts/bench.sh [BUILD_DIR] [display]   (default: build)
set -euo pipefail
build=${1:-build}

# CPU ms (user + system) and peak KB of one command, as "cpu kb".
cpu_and_peak() {
    local out wall user sys kb
    out=$( { /usr/bin/time -f "%e %U %S %M" "$@" >/dev/null; } 2>&1 | tail -n 1)
    read -r wall user sys kb <<<"$out"
    awk -v u="$user" -v s="$sys" -v k="$kb" 'BEGIN { printf "%.0f %d\n", (u + s) * 1000, k }'
}

# Median CPU ms and largest peak KB of REPEATS runs of a command.
measure() {
    local cpus=() peak=0 c k
    for _ in $(seq "$repeats"); do
        read -r c k <<<"$(cpu_and_peak "$@")"
        cpus+=("$c")
        if [ "$k" -gt "$peak" ]; then peak=$k; fi
    done
    printf '%s\n' "${cpus[@]}" | sort -n | awk -v p="$peak" '{ v[NR] = $1 }
        END { printf "%d %d\n", v[int((NR + 1) / 2)], p }'
}

# Whole runs shown, each against the engine-only run (`run`) of the same plays:
# the fast run shown in the window (render --plays), the run file opened in
# the window (render FILE) and the file's `show`. CPU time, median of REPEATS
# (default 3), since wall time suffers on a shared machine.
display_bench() {
    local cli="$build/bin/yonatama-cli" plays
    [ -x "$cli" ] && [ -x "$build/bin/yonatama-render" ] || {
        echo "missing $cli or yonatama-render" >&2
        exit 1
    }
    [ -x /usr/bin/time ] || { echo "needs /usr/bin/time" >&2; exit 1; }
    repeats=${REPEATS:-3}
    tmp=$(mktemp -d)
    trap 'rm -rf "${tmp:-}"' EXIT
    printf '%-9s %-22s %9s %9s %7s   %s\n' plays what cpu_ms peak_MB ratio target
    local slope_in=""
    for plays in ${PLAYS:-1000000 3000000 10000000}; do
        "$cli" run --plays "$plays" --seed 5 --out "$tmp/run.sim" >/dev/null
        local e r o s
        e=$(measure "$cli" run --plays "$plays" --seed 5)
        r=$(measure "$cli" render --plays "$plays" --seed 5 --out "$tmp/png")
        o=$(measure "$cli" render "$tmp/run.sim" --out "$tmp/png")
        s=$(measure "$cli" show "$tmp/run.sim")
        awk -v n="$plays" -v e="$e" -v r="$r" -v o="$o" -v s="$s" 'BEGIN {
            split(e, E, " "); split(r, R, " "); split(o, O, " "); split(s, S, " ")
            big = n >= 10000000
            row("engine-only run", E, "", "")
            row("fast run shown whole", R, 2.5, big ? 450 : "")
            row("file opened, shown", O, 1.5, big ? 450 : "")
            row("show of the file", S, 0.3, big ? 230 : "")
        }
        function row(what, v, rt, mt,   ratio, t) {
            ratio = v[1] / E[1]
            t = rt == "" ? "" : sprintf("ratio <= %.1f%s", rt, mt == "" ? "" : sprintf(", peak <= %d MB", mt))
            printf "%-9d %-22s %9d %9.1f %7.2f   %s\n", n, what, v[1], v[2] / 1024, ratio, t
        }'
        slope_in="$slope_in $plays:${r%% *}:${e%% *}"
    done
    # Least-squares slope of the shown run's CPU time over the plays, and how
    # far the time per play drifts from the smallest run to the largest.
    echo "$slope_in" | tr ' ' '\n' | awk -F: 'NF == 3 {
            n++; x[n] = $1 / 1e6; y[n] = $2; sx += x[n]; sy += y[n] }
        END {
            if (n < 2) exit
            for (i = 1; i <= n; i++) { sxx += (x[i] - sx / n) ^ 2; sxy += (x[i] - sx / n) * (y[i] - sy / n) }
            printf "fast run shown whole: slope %.0f CPU ms per million plays; per-play time at %gM / at %gM = %.2f\n",
                   sxy / sxx, x[n], x[1], (y[n] / x[n]) / (y[1] / x[1]) }'
}

if [ "${2:-}" = display ]; then
    display_bench
    exit 0
fi
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
