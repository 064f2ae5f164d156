#!/usr/bin/env bash
# Release build of the two deliverables: korvex.exe and zendel.dll from the windows preset
# (optimised, linked statically against the compiler's runtime), stripped of their symbols into
# one folder, with the product version of korvex.exe's version resource in a file VERSION.
#   scripts/release.sh [folder]     default build/release; prints the files and their sizes
# KORVEX_BIN names the folder of an existing Windows build to take the files from (no build).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/release}
bin=${KORVEX_BIN:-build/windows/bin}
if [ -z "${KORVEX_BIN:-}" ]; then
    log=$(mktemp /tmp/korvex-release.XXXXXX.log)
    if ! { cmake --preset windows && cmake --build --preset release; } >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "release: the build failed; its output is in $log" >&2
        exit 1
    fi
    rm -f "$log"
fi
mkdir -p "$out"
for file in korvex.exe zendel.dll; do
    x86_64-w64-mingw32-strip --strip-all -o "$out/$file" "$bin/$file"
done

# The product version of the fixed record of the version resource (VS_FIXEDFILEINFO, found by
# its signature 0xFEEF04BD; the product version is the two 32-bit words 16 bytes after it):
# "major.minor.build.revision".
at=$(LC_ALL=C grep -obUaP '\xBD\x04\xEF\xFE' "$out/korvex.exe" | head -n 1 | cut -d: -f1)
[ -n "$at" ] || { echo "release: korvex.exe has no version resource" >&2; exit 1; }
read -r ms ls < <(od -An -t u4 -j $((at + 16)) -N 8 "$out/korvex.exe")
echo "$((ms >> 16)).$((ms & 0xFFFF)).$((ls >> 16)).$((ls & 0xFFFF))" >"$out/VERSION"

total=0
for file in korvex.exe zendel.dll; do
    size=$(stat -c %s "$out/$file")
    total=$((total + size))
    printf 'release: %-10s %8d bytes\n' "$file" "$size"
done
printf 'release: together  %8d bytes, version %s, in %s\n' "$total" "$(cat "$out/VERSION")" "$out"
