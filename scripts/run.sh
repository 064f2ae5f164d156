#!/usr/bin/env bash
# The run command: installs what is missing, builds Korvex for Windows and starts it under Wine.
#
#   bash scripts/run.sh                  with $DISPLAY: Korvex with its main window shown on your
#                                        display, in the Wine prefix ~/.local/share/korvex-wine
#                                        (made on first use); ends when you exit Korvex
#   bash scripts/run.sh --headless [png] (the only form without a display) on a virtual display:
#                                        starts Korvex, copies a few texts, writes a screenshot of
#                                        the main window (default build/korvex-main-window.png),
#                                        prints its path and stops everything again
#
# KORVEX_RUN_PREFIX chooses another prefix for the first form; KORVEX_DPI sets the virtual
# display's DPI for the second (Wine's "LogPixels", default 96). The headless form uses the same
# environment as the tests (a fresh prefix, or KORVEX_WINEPREFIX when set). KORVEX_BIN names
# the folder of an existing Windows build to run instead (setup and build are then skipped).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bin=${KORVEX_BIN:-$root/build/windows/bin}

headless=0
shot=$root/build/korvex-main-window.png
if [ "${1:-}" = "--headless" ]; then
    headless=1
    [ -n "${2:-}" ] && shot=$(realpath -m "$2")
elif [ -n "${1:-}" ]; then
    echo "usage: scripts/run.sh [--headless [screenshot.png]]" >&2
    exit 1
fi
[ -z "${DISPLAY:-}" ] && headless=1

log() { echo "run: $*" >&2; }

# Runs a program of the build under Wine, quietly.
wine_quiet() { wine "$@" >/dev/null 2>&1; }

prepare() {
    bash scripts/setup.sh >&2
    log "building (scripts/build.sh windows)"
    local build_log
    build_log=$(mktemp /tmp/korvex-build.XXXXXX.log)
    if ! bash scripts/build.sh windows >"$build_log" 2>&1; then
        tail -n 40 "$build_log" >&2
        log "the build failed; its whole output is in $build_log"
        exit 1
    fi
    rm -f "$build_log"
}

check_build() {
    for program in korvex.exe zendel.dll cliptool.exe e2e-probe.exe; do
        [ -f "$bin/$program" ] || { log "the build made no $program"; exit 1; }
    done
}

# A persistent prefix for the user's display, made like the test prefix but without a virtual
# desktop: the display's own window manager and notification area serve.
make_user_prefix() {
    export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEPREFIX=${KORVEX_RUN_PREFIX:-$HOME/.local/share/korvex-wine}
    [ -f "$WINEPREFIX/.korvex-ready" ] && return 0
    log "making the Wine prefix $WINEPREFIX (once)"
    mkdir -p "$WINEPREFIX"
    wine_quiet wineboot -i
    # Debian's Wine does not find its own fonts without this.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wine_quiet reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    wineserver -w
    touch "$WINEPREFIX/.korvex-ready"
}

run_on_display() {
    make_user_prefix
    local desktop=()
    # Without a window manager hiding a window stalls and windows have no captions; a Wine
    # desktop window then stands in for one.
    if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        log "no window manager on $DISPLAY: Korvex runs inside a Wine desktop window"
        desktop=(explorer /desktop=Korvex,1280x1024)
    fi
    log "starting Korvex on $DISPLAY; end it with File > Exit or Exit in its tray menu"
    exec wine "${desktop[@]}" "$bin/korvex.exe" -n
}

# Puts the text on the clipboard the way another program does.
copy_text() {
    local file
    file=$(mktemp /tmp/korvex-run.XXXXXX)
    printf '%s' "$1" >"$file"
    wine "$bin/cliptool.exe" write-file "Z:${file//\//\\}" >/dev/null 2>&1
    rm -f "$file"
}

probe() { wine "$bin/e2e-probe.exe" "$@" 2>/dev/null; }

# Writes the main window's part of the screen to $1, once two captures in a row are the same
# (the window has finished drawing).
capture_main_window() {
    local left top width height
    read -r left top width height < <(probe rect | tr -d '\r') || return 1
    mkdir -p "$(dirname "$1")"
    local previous current attempt
    previous=$(mktemp /tmp/korvex-shot.XXXXXX.png)
    current=$(mktemp /tmp/korvex-shot.XXXXXX.png)
    import -window root -crop "${width}x${height}+${left}+${top}" +repage "$previous"
    for attempt in $(seq 1 50); do
        sleep 0.1
        import -window root -crop "${width}x${height}+${left}+${top}" +repage "$current"
        if /usr/bin/compare-im6.q16 -metric AE "$previous" "$current" null: 2>/dev/null; then
            mv "$current" "$1"
            chmod 644 "$1"
            rm -f "$previous"
            return 0
        fi
        mv "$current" "$previous"
    done
    mv "$previous" "$1"
    chmod 644 "$1"
    log "the window kept changing; the last capture is kept"
}

run_headless() {
    . scripts/wine-env.sh
    trap 'wine_env_stop' EXIT
    log "starting a virtual display and a Wine prefix"
    wine_env_start
    # KORVEX_DPI (default 96) is the screen's DPI, Wine's "LogPixels"; it takes effect for the
    # programs of a new server.
    local dpi=${KORVEX_DPI:-96}
    if [ "$dpi" != 96 ]; then
        wine_quiet reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
        wineserver -k; wineserver -w; wineserver -p
        wine_env_warm_up
    fi
    # The screenshot shows a window wide enough for all three columns (stored sizes are pixels:
    # scaled to the DPI here); the settings go again at the end.
    local name value
    for name in Left=40 Top=40 Width=560 Height=300; do
        value=$((${name#*=} * dpi / 96))
        wine_quiet reg add 'HKCU\Software\Brenwick\Korvex\MainWindow' /v "${name%=*}" \
            /t REG_DWORD /d "$value" /f
    done

    wine "$bin/korvex.exe" -n >/dev/null 2>&1 &
    probe wait-ready 60000 || { log "Korvex did not start"; exit 1; }

    local texts=(
        "CFindDlg"
        "SELECT id, name FROM customers WHERE active = 1;"
        $'Shopping list:\n- coffee\n- milk'
        "https://www.winehq.org/"
        "myVariableName"
    )
    local text
    for text in "${texts[@]}"; do
        copy_text "$text"
    done
    probe wait-rows "${#texts[@]}" 20000 || { log "the copies did not show"; exit 1; }
    # Bookmark the newest entry (Ctrl+Alt+3 does the same), then copy one more on top.
    probe post 0x477
    copy_text "MY_VARIABLE_NAME"
    probe wait-rows $((${#texts[@]} + 1)) 20000 || { log "the last copy did not show"; exit 1; }

    capture_main_window "$shot" || { log "no screenshot"; exit 1; }

    probe post 0x111 32780 # File > Exit
    probe wait-gone 20000 || log "Korvex did not end; the environment is stopped anyway"
    wine_quiet reg delete 'HKCU\Software\Brenwick\Korvex' /f
    wine_quiet reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Korvex /f
    echo "$shot"
}

if [ -z "${KORVEX_BIN:-}" ]; then
    prepare
fi
check_build
if [ "$headless" = 1 ]; then
    run_headless
else
    run_on_display
fi
