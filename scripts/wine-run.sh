#!/usr/bin/env bash
# Runs a Windows program under Wine in the environment that scripts/with-wine.sh prepared.
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
    echo "wine-run: no Wine environment; run through scripts/with-wine.sh" >&2
    exit 99
fi
exec wine "$@"
