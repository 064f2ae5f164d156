#!/usr/bin/env bash
# The capture benchmark: builds capturebench.exe and korvex.exe (windows preset) when needed,
# then runs it in a fresh Wine prefix on a virtual display and prints its table (markdown).
#   bash scripts/capture-bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
if ! log=$(cmake --preset windows 2>&1 && cmake --build --preset windows --target capturebench korvex 2>&1); then
    echo "$log" >&2
    echo "capture-bench: the build failed" >&2
    exit 1
fi
bash scripts/with-wine.sh wine build/windows/bin/capturebench.exe
