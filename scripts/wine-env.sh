# Sourced by the scripts: starts a virtual X display and a fresh Wine prefix, and tears both
# down again. Functions: wine_env_start, wine_env_stop.
#
# A developer may set KORVEX_WINEPREFIX to an existing prefix made by this script to skip the
# 15 s of creating one (it is kept afterwards); CI and the test command always start fresh.

WINE_ENV_XVFB_PID=""
WINE_ENV_OWN_PREFIX=""

wine_env_free_display() {
    local n
    for n in $(seq 90 190); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            echo "$n"
            return 0
        fi
    done
    return 1
}

wine_env_wait_for() { # seconds, command...
    local limit=$1; shift
    local end=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $end ] && return 1
        sleep 0.1
    done
}

wine_env_start() {
    export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
    unset WAYLAND_DISPLAY

    local n
    n=$(wine_env_free_display) || { echo "wine-env: no free display number" >&2; return 1; }
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    WINE_ENV_XVFB_PID=$!
    export DISPLAY=":$n"
    wine_env_wait_for 20 xdpyinfo -display ":$n" || { echo "wine-env: Xvfb did not start" >&2; return 1; }

    if [ -n "${KORVEX_WINEPREFIX:-}" ] && [ -f "${KORVEX_WINEPREFIX}/.korvex-ready" ]; then
        export WINEPREFIX="$KORVEX_WINEPREFIX"
        wineserver -p
        wine_env_warm_up
        return 0
    fi
    if [ -n "${KORVEX_WINEPREFIX:-}" ]; then
        export WINEPREFIX="$KORVEX_WINEPREFIX"
    else
        WINE_ENV_OWN_PREFIX=$(mktemp -d /tmp/korvex-wine.XXXXXX)
        export WINEPREFIX="$WINE_ENV_OWN_PREFIX"
    fi
    mkdir -p "$WINEPREFIX"
    wineserver -p
    wine wineboot -i >/dev/null 2>&1
    # Debian's Wine does not find its own fonts without this.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # A prefix-wide virtual desktop: windows hide at once (no window manager to wait for), the
    # notification area exists, captions are drawn. A crash ends the process instead of
    # opening the debugger's dialog.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024 /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -k; wineserver -w
    wineserver -p
    touch "$WINEPREFIX/.korvex-ready"
    wine_env_warm_up
}

# The first Wine program of a server starts Wine's background services, which keep the output
# pipes of whatever started them open: start them here, detached from any caller's pipes.
wine_env_warm_up() {
    wine cmd /c exit >/dev/null 2>&1 </dev/null
    # The virtual desktop closes a few seconds after its last program ends, and the next program
    # that needs it starts it again, passing it its own output pipes: whatever waits for that
    # program's output (ctest) then waits until the desktop ends. A desktop started here, away
    # from every caller's pipes, stays until the server ends.
    (setsid wine explorer.exe /desktop=Default,1280x1024 </dev/null >/dev/null 2>&1 &)
    wine_env_wait_for 20 pgrep -f 'explorer.exe /desktop=Default' ||
        echo "wine-env: the virtual desktop did not start" >&2
}

wine_env_stop() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
        timeout 20 wineserver -w >/dev/null 2>&1 || true
    fi
    if [ -n "$WINE_ENV_XVFB_PID" ]; then
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        WINE_ENV_XVFB_PID=""
    fi
    if [ -n "$WINE_ENV_OWN_PREFIX" ]; then
        rm -rf "$WINE_ENV_OWN_PREFIX"
        WINE_ENV_OWN_PREFIX=""
    fi
}
