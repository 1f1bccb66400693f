#!/usr/bin/env bash
# clang-tidy with the checks of .clang-tidy over our sources, using the compile
# commands of a configured build; any finding fails the script.
# Usage: scripts/tidy.sh [BUILD_DIR] [changed|core|names]   (default: build, every source)
#   changed: only the sources changed since the previous commit (a changed
#   header brings in the source of the same name); headers are checked through
#   the sources that include them.
#   core: every source of the layers without the GUI toolkit (engine, runfile,
#   results and the companion), which checks in about a minute on two cores;
#   the whole tree takes most of an hour there.
#   names: every source outside core, but only the member-naming and
#   function-length checks (a few minutes: most of the hour is spent by the
#   other checks); core and names together cover the whole tree.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd -P)
build=${1:-build}
mode=${2:-all}
[ -f "$build/compile_commands.json" ] ||
    { echo "missing $build/compile_commands.json (configure $build first)" >&2; exit 1; }
runner=$(command -v run-clang-tidy-14 || command -v run-clang-tidy || true)
[ -n "$runner" ] || { echo "run-clang-tidy not found (make deps)" >&2; exit 1; }
folders='app|bench|chart|cli|engine|filesave|fuzz|numfmt|platform|results|runfile|runs|stats|tests'

if [ "$mode" = changed ] && ! git rev-parse -q --verify HEAD~1 >/dev/null; then
    echo "clang-tidy: no previous commit here, checking every source"
    mode=all
fi
core="(engine|filesave|runfile|numfmt|stats|results|runs)/|cli/(CliCommands|CliSystem|RenderLauncher|StudyCommand|main)\.cpp\$"
if [ "$mode" = core ]; then
    pattern="^$root/($core)"
elif [ "$mode" = names ]; then
    # core's full check set holds these two checks, so CI's core step has
    # already read those sources.
    pattern="^$root/(?!$core)($folders)/"
elif [ "$mode" = changed ]; then
    sources=()
    while IFS= read -r f; do
        f=${f%.h}
        f=${f%.cpp}.cpp
        [ -f "$f" ] && sources+=("$(printf '%s' "$f" | sed 's/[.[\*^$()+?{|]/\\&/g')")
    done < <(git diff --name-only HEAD~1 -- '*.cpp' '*.h' | grep -E "^($folders)/" | sort -u)
    if [ ${#sources[@]} -eq 0 ]; then
        echo "clang-tidy: no C++ source changed since the previous commit"
        exit 0
    fi
    pattern="^$root/($(IFS='|'; echo "${sources[*]}"))\$"
else
    pattern="^$root/($folders)/"
fi
checks=()
if [ "$mode" = names ]; then
    checks=(-checks=-*,readability-identifier-naming,readability-function-size)
fi
# The compile commands may come from g++ (its own warning flags) and turn
# warnings into errors; only the checks decide here.
"$runner" -p "$build" -j "${JOBS:-$(nproc)}" -quiet "${checks[@]}" \
    -extra-arg=-Wno-unknown-warning-option -extra-arg=-Wno-error "$pattern"
