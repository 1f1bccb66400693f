#!/usr/bin/env bash
# Engine speed: the Google Benchmark of the engine, then a timed companion run of
# one million plays. Prints plays per second and the cost relative to the
# hand-written baseline loop (target: at most 1.3).
# With `display` it instead times showing whole runs of 1, 3 and 10 million
# plays against the engine-only run of the same plays (see display_bench).
# With `limits` it prints every speed target of the fast engine as a ratio to
# the fastest exact loop (bench/FastReference.h) measured in the same session.
# Usage: scripts/bench.sh [BUILD_DIR] [display|limits]   (default: build)
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

# Google Benchmark CPU ms (or real ms with col=3) of one benchmark, median of 3.
bench_ms() {
    local program=$1 name=$2 col=${3:-4}
    "$program" --benchmark_filter="^${name}\$" --benchmark_repetitions=3 \
        --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
        awk -F, -v n="\"${name}_median\"" -v c="$col" '$1 == n { print $c }'
}

# Google Benchmark real ms of one benchmark, the least of 5: on a shared
# machine the other loads only ever add time.
bench_min_ms() {
    local program=$1 name=$2
    "$program" --benchmark_filter="^${name}\$" --benchmark_repetitions=5 \
        --benchmark_format=csv 2>/dev/null |
        awk -F, -v n="\"${name}\"" '$1 == n { if (m == "" || $3 < m) m = $3 } END { print m }'
}

# Every target of the fast engine against the yardstick loop, in one table.
limits_bench() {
    local cli="$build/bin/yonatama-cli" engine="$build/bin/bench_engine" study="$build/bin/bench_study"
    for f in "$cli" "$engine" "$study" "$build/bin/yonatama-render"; do
        [ -x "$f" ] || { echo "missing $f (build with -DYONATAMA_BENCH=ON first)" >&2; exit 1; }
    done
    [ -x /usr/bin/time ] || { echo "needs /usr/bin/time" >&2; exit 1; }
    repeats=${REPEATS:-3}
    tmp=$(mktemp -d)
    trap 'rm -rf "${tmp:-}"' EXIT
    local ref1 ref10 old rec sref srun s1 s2
    ref1=$(bench_ms "$engine" BM_FastReference/1000000)
    ref10=$(bench_ms "$engine" BM_FastReference/10000000)
    old=$(bench_ms "$engine" BM_ShootUntilRecords/1000000)
    rec=$(bench_ms "$engine" BM_RecordedRun/1000000)
    sref=$(bench_ms "$study" BM_StudyReference/1000)
    srun=$(bench_ms "$study" BM_StudyRun/1000)
    s1=$(bench_min_ms "$study" BM_Study/jobs:1/real_time)
    s2=$(bench_min_ms "$study" BM_Study/jobs:2/real_time)
    # perf's cycle counter is not available here: cycles per play are estimated
    # from CPU time at the processor's clock.
    local mhz ticks
    mhz=$(awk -F: '/^cpu MHz/ { print $2 + 0; exit }' /proc/cpuinfo)
    ticks=$("$engine" --benchmark_filter='^BM_(FastReference|ShootUntilRecords|RecordedRun|FastEngine/.*)/1000000$' \
        --benchmark_format=csv 2>/dev/null | awk -F, -v mhz="$mhz" 'NR > 1 {
            gsub(/"/, "", $1); printf "  %-36s %6.0f cycles/play\n", $1, $4 * mhz / 1000 }')
    "$cli" run --plays 10000000 --seed 5 --out "$tmp/run.sim" >/dev/null
    local run1 show10 open10 sh10 show1 show0 cstudy cstudy0
    run1=$(measure "$cli" run --plays 1000000 --seed 5)
    show10=$(measure "$cli" render --plays 10000000 --seed 5 --out "$tmp/png")
    open10=$(measure "$cli" render "$tmp/run.sim" --out "$tmp/png")
    sh10=$(measure "$cli" show "$tmp/run.sim")
    show1=$(measure "$cli" render --plays 1000000 --seed 5 --out "$tmp/png")
    show0=$(measure "$cli" render --plays 1 --seed 5 --out "$tmp/png")
    cstudy=$(measure "$cli" study --plays 1000 --runs 20000 --seed 5 --jobs 1)
    # The same study with a tenth of the runs: the difference is the cost of
    # 18000 runs, without the start-up and the exact figures made once.
    cstudy0=$(measure "$cli" study --plays 1000 --runs 2000 --seed 5 --jobs 1)
    echo "engine path: ${YONATAMA_ENGINE:-default}; yardstick: 1M plays ${ref1} ms, 10M plays ${ref10} ms (CPU)"
    echo "cycles per play (1M plays, border 12.5; CPU time at ${mhz} MHz):"
    echo "$ticks"
    awk -v r1="$ref1" -v r10="$ref10" -v old="$old" -v rec="$rec" -v sref="$sref" -v srun="$srun" \
        -v s1="$s1" -v s2="$s2" -v run1="$run1" -v show10="$show10" -v open10="$open10" \
        -v sh10="$sh10" -v show1="$show1" -v show0="$show0" -v cstudy="$cstudy" \
        -v cstudy0="$cstudy0" -v load="$(cut -d' ' -f1-3 /proc/loadavg)" 'BEGIN {
        split(run1, A, " "); split(show10, B, " "); split(open10, C, " "); split(sh10, D, " ")
        split(show1, E, " "); split(show0, F, " "); split(cstudy, G, " "); split(cstudy0, H, " ")
        printf "load average at the end: %s (2 cores)\n", load
        printf "%-48s %9s %8s %7s   %s\n", "figure", "ms", "peak_MB", "ratio", "target"
        row("1M plays with records, before (ShootUntil)", old, "", old / r1, "")
        row("1M plays with records (RecordPlays)", rec, "", rec / r1, "<= 1.5")
        row("1M plays with records (yonatama-cli run)", A[1], A[2], A[1] / r1, "<= 1.5")
        row("study cost per run, 1000 plays (RunWithBands)", srun, "", srun / sref, "<= 1.3")
        row("study --jobs 1, 1000 plays, per run (CLI)", (G[1] - H[1]) / 18000, "", (G[1] - H[1]) / 18000 / sref, "<= 1.3")
        row("  the same, whole command / 20000 runs", G[1] / 20000, G[2], G[1] / 20000 / sref, "")
        row("study 64x100000, jobs 2 / jobs 1 (wall, least)", s2, "", s2 / s1, "<= 0.6")
        row("10M plays shown whole (render --plays)", B[1], B[2], B[1] / r10, "<= 3, <= 450 MB")
        row("10M-record file shown (render FILE)", C[1], C[2], C[1] / r10, "<= 2, <= 450 MB")
        row("10M-record file, show", D[1], D[2], D[1] / r10, "<= 0.7, <= 230 MB")
        row("1M plays shown whole, start-up removed", E[1] - F[1], E[2], (E[1] - F[1]) / r1, "<= 5")
    }
    function row(what, ms, kb, ratio, target) {
        printf "%-48s %9.2f %8s %7.2f   %s\n", what, ms, kb == "" ? "" : sprintf("%.0f", kb / 1024), ratio, target
    }'
}

if [ "${2:-}" = limits ]; then
    limits_bench
    exit 0
fi
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
