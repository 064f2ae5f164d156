#!/usr/bin/env bash
# Screenshots of Korvex's windows at their default sizes, for a look at the layout at a DPI: the
# main window, the small clip window (also filtered by typing, with its marks) and the find
# dialog, over a few entries (some with a tab).
#   bash scripts/screenshot-windows.sh [dpi] [folder]    (defaults: 96, build/screenshots)
# Uses an existing Windows build (build/windows/bin, or KORVEX_BIN) and a fresh Wine prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
dpi=${1:-96}
out=$(realpath -m "${2:-build/screenshots}")
bin=${KORVEX_BIN:-$(pwd)/build/windows/bin}
mkdir -p "$out"
. scripts/wine-env.sh
trap 'wine_env_stop' EXIT
wine_env_start
quiet() { "$@" >/dev/null 2>&1; }
probe() { wine "$bin/e2e-probe.exe" "$@" 2>/dev/null; }
if [ "$dpi" != 96 ]; then
    quiet wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
    wineserver -k; wineserver -w; wineserver -p
    wine_env_warm_up
fi
# The screen once two captures in a row are the same (everything has finished drawing).
capture() {
    local previous current
    previous=$(mktemp /tmp/korvex-shot.XXXXXX.png)
    current=$(mktemp /tmp/korvex-shot.XXXXXX.png)
    import -window root "$previous"
    for _ in $(seq 1 50); do
        sleep 0.1
        import -window root "$current"
        if /usr/bin/compare-im6.q16 -metric AE "$previous" "$current" null: 2>/dev/null; then
            break
        fi
        mv "$current" "$previous"
    done
    mv "$current" "$1"
    rm -f "$previous"
    echo "$1"
}
wine "$bin/korvex.exe" -n >/dev/null 2>&1 &
probe wait-ready 60000
for text in "SELECT id, name FROM customers WHERE active = 1;" $'name\tvalue' "https://www.winehq.org/" \
    "myVariableName" $'rename\tvariable' "name = value"; do
    file=$(mktemp /tmp/korvex-shot.XXXXXX)
    printf '%s' "$text" >"$file"
    quiet wine "$bin/cliptool.exe" write-file "Z:${file//\//\\}"
    rm -f "$file"
done
probe wait-rows 6 20000
capture "$out/main-window-$dpi.png"
xdotool type --delay 30 "na va"
capture "$out/main-window-filtered-$dpi.png"
xdotool key Escape
xdotool mousemove 300 300 key ctrl+alt+0
capture "$out/small-clip-window-$dpi.png"
xdotool type --delay 30 "na va"
capture "$out/small-clip-filtered-$dpi.png"
xdotool key Escape Escape
probe post 0x111 32890 # Edit > Find
capture "$out/find-dialog-$dpi.png"
xdotool key Escape
probe post 0x111 32780 # File > Exit
probe wait-gone 20000 || true
