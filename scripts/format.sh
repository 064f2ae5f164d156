#!/usr/bin/env bash
# Formats every C++ file of the repository with .clang-format (which needs clang-format 15 or
# later for InsertBraces): scripts/format.sh formats in place, scripts/format.sh --check only
# lists the files that differ and exits non-zero if there are any.
set -u
cd "$(dirname "$0")/.."
cf=$(command -v clang-format-15 || command -v clang-format) || { echo "format: no clang-format"; exit 1; }
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --check ]; then
    bad=()
    for f in "${files[@]}"; do
        "$cf" "$f" | cmp -s - "$f" || bad+=("$f")
    done
    if [ ${#bad[@]} -gt 0 ]; then
        echo "format: these files differ from .clang-format (run scripts/format.sh):"
        printf '  %s\n' "${bad[@]}"
        exit 1
    fi
    echo "format: ok"
    exit 0
fi
"$cf" -i "${files[@]}"
