#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it
# (.clang-format at the top). Other versions than 14 format a few constructs
# differently, so another one is refused unless CLANG_FORMAT names it.
set -euo pipefail
cd "$(dirname "$0")/.."
tool=${CLANG_FORMAT:-}
if [ -z "$tool" ]; then
    tool=$(command -v clang-format-14 || command -v clang-format || true)
    [ -n "$tool" ] || { echo "clang-format not found (make deps)" >&2; exit 1; }
    "$tool" --version | grep -q "version 14\." ||
        { echo "$("$tool" --version): want 14 (or set CLANG_FORMAT)" >&2; exit 1; }
fi
files=()
while IFS= read -r -d '' f; do
    # A file deleted in the work tree but not yet in the index is no longer ours to check.
    [ -f "$f" ] && files+=("$f")
done < <(git ls-files -z -- '*.cpp' '*.h')
echo "clang-format --dry-run --Werror over ${#files[@]} files"
printf '%s\0' "${files[@]}" | xargs -0 "$tool" --dry-run --Werror
