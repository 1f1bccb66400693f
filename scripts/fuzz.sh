#!/usr/bin/env bash
# Fuzzes the run-file reader and the texts shown for an accepted file.
# Configures build-fuzz/ with clang++ and YONATAMA_FUZZ (libFuzzer, ASan and
# UBSan, no Qt), builds only the fuzz target and runs it on a copy of
# fuzz/corpus; a crash or sanitizer report fails the script.
# Usage: scripts/fuzz.sh [SECONDS]   (default 60; FUZZ_BUILD overrides the folder)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
out=${FUZZ_BUILD:-build-fuzz}

# -O1 with asserts on, as for fuzzing by hand.
cmake -S . -B "$out" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DYONATAMA_FUZZ=ON -DYONATAMA_QT=OFF \
    -DYONATAMA_BENCH=OFF -DYONATAMA_WERROR="${YONATAMA_WERROR:-OFF}"
cmake --build "$out" --target runfile_fuzz -j "${JOBS:-$(nproc)}"

work="$out/corpus-work"
rm -rf "$work"
cp -r fuzz/corpus "$work"
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$out/bin/runfile_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$out/" "$work"
