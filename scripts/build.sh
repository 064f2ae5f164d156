#!/usr/bin/env bash
# Configures and builds one preset (default: windows): scripts/build.sh [host|host-asan|windows]
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-windows}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
if [ "$preset" = windows ]; then
    ln -sf build/windows/compile_commands.json compile_commands.json
fi
