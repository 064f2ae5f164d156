#!/usr/bin/env bash
# Runs a Windows program under Wine in the environment that scripts/with-wine.sh prepared.
#
# Every program run this way prints before it does anything else (a test program its filter
# line). Seldom, under load, Wine fails a start before the program prints a thing: such a start
# is reported and made once more. A program that failed after printing is never run again.
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
    echo "wine-run: no Wine environment; run through scripts/with-wine.sh" >&2
    exit 99
fi
out=$(mktemp /tmp/korvex-run.XXXXXX)
err=$(mktemp /tmp/korvex-run.XXXXXX)
trap 'rm -f "$out" "$err"' EXIT
wine "$@" 2>"$err" | tee "$out"
rc=${PIPESTATUS[0]}
cat "$err" >&2
if [ "$rc" -ne 0 ] && [ ! -s "$out" ] && [ ! -s "$err" ]; then
    echo "wine-run: $1 ended with code $rc before it printed anything; starting it once more" >&2
    wine "$@"
    rc=$?
fi
exit "$rc"
