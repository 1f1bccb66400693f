#!/usr/bin/env bash
# Fails when a product source outside platform/ includes a header of the GUI
# toolkit: the rest of the tree reaches it only through platform's wrappers.
set -euo pipefail
cd "$(dirname "$0")/.."
folders=()
for d in */; do
    d=${d%/}
    case "$d" in
    platform | tests | bench | build* | docs | scripts) ;;
    *) folders+=("$d") ;;
    esac
done
found=$(git ls-files -- "${folders[@]/%//*.cpp}" "${folders[@]/%//*.h}" |
    xargs -r grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/)' || true)
if [ -n "$found" ]; then
    echo "GUI toolkit headers outside platform/:" >&2
    echo "$found" >&2
    exit 1
fi
echo "no GUI toolkit header outside platform/ (${folders[*]})"
