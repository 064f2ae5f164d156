#!/usr/bin/env bash
# Runs a command inside a fresh virtual display and Wine prefix, then removes both.
#   scripts/with-wine.sh ctest --preset windows -R Clipboard
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
trap wine_env_stop EXIT
trap 'exit 130' INT TERM
wine_env_start || exit 1
"$@"
