#!/usr/bin/env bash
# Makes the README's screenshot, docs/korvex-main-window.png: Korvex's main window with a few
# entries, taken on a virtual display exactly as the headless run command takes it.
# KORVEX_BIN (a folder with an existing Windows build) skips setup and build.
set -euo pipefail
cd "$(dirname "$0")/.."
exec bash scripts/run.sh --headless "$(pwd)/docs/korvex-main-window.png"
