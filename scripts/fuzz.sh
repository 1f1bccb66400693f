#!/usr/bin/env bash
# Fuzzes the run-file reader and the texts shown for an accepted file.
# Builds standalone with clang's libFuzzer, ASan and UBSan into build-fuzz/ and
# runs on a copy of fuzz/corpus; a crash or sanitizer report fails the script.
# Usage: scripts/fuzz.sh [SECONDS]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
out=build-fuzz
mkdir -p "$out"

clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -Wall -Wextra -I. fuzz/RunFileFuzz.cpp runfile/*.cpp app/results/*.cpp engine/*.cpp \
    -o "$out/runfile_fuzz"

work="$out/corpus-work"
rm -rf "$work"
cp -r fuzz/corpus "$work"
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$out/runfile_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$out/" "$work"
