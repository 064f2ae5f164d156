#!/usr/bin/env bash
# The pop-up benchmark: builds xkeymap (host preset) and clipbench.exe, popupfloor.exe and
# korvex.exe (windows preset) when needed, then runs clipbench in a fresh Wine prefix on a
# virtual display and prints its table (markdown).
#   bash scripts/clip-bench.sh [openings]
set -euo pipefail
cd "$(dirname "$0")/.."
if ! log=$( (cmake --preset host && cmake --build --preset host --target xkeymap &&
             cmake --preset windows && cmake --build --preset windows --target clipbench) 2>&1); then
    echo "$log" >&2
    echo "clip-bench: the build failed" >&2
    exit 1
fi
bash scripts/with-wine.sh wine build/windows/bin/clipbench.exe "$(pwd)/build/host/bench/xkeymap" "$@"
