#!/usr/bin/env bash
# Makes the README's screenshots: Korvex's main window with a few entries, taken on a virtual
# display exactly as the headless run command takes it, at 96 DPI (docs/korvex-main-window.png)
# and at 144 DPI (docs/korvex-main-window-144dpi.png).
# KORVEX_BIN (a folder with an existing Windows build) skips setup and build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/run.sh --headless "$(pwd)/docs/korvex-main-window.png"
export KORVEX_BIN=${KORVEX_BIN:-$(pwd)/build/windows/bin}
KORVEX_DPI=144 bash scripts/run.sh --headless "$(pwd)/docs/korvex-main-window-144dpi.png"
