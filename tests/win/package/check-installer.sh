#!/usr/bin/env bash
# The installer under Wine, in the prefix of scripts/with-wine.sh: a silent install; the
# installed korvex.exe starts and records a copy; a second silent install over it ends it the
# way its own Exit does (exit code 0) and leaves the files, the Start menu shortcut and the
# uninstall entry with the version; the silent uninstaller ends a running Korvex the same way
# (its window placement saved, the settings kept) and removes "Start with Windows", the files,
# the shortcut and the entry.
#   check-installer.sh <package folder> <build folder with e2e-probe.exe and cliptool.exe>
set -u
dir=$1
bin=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
version=$(cat "$dir/VERSION")
setup="$dir/korvex-$version-win64-installer.exe"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvex'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKCU\Software\Brenwick\Korvex'

# The data of a registry value; status 1 when there is no such value.
reg_value() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        sed -nE "s/^ +$2 +REG_[A-Z_]+ +(.*)$/\1/p" | grep .
}
probe() { wine "$bin/e2e-probe.exe" "$@" >/dev/null 2>&1; }
unix_path() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }
within() { # seconds, command...: polls the command until it succeeds
    local end=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -ge $end ] && return 1
        sleep 0.2
    done
}

inst=""
shortcut=""
cleanup() {
    probe post 0x111 32780 && probe wait-gone 10000
    [ -n "$inst" ] && rm -rf "$inst"
    [ -n "$shortcut" ] && rm -f "$shortcut"
    wine reg delete "$uninstall_key" /f >/dev/null 2>&1
    wine reg delete "$settings_key" /f >/dev/null 2>&1
    wine reg delete "$run_key" /v Korvex /f >/dev/null 2>&1
}
trap cleanup EXIT
wine reg delete "$settings_key" /f >/dev/null 2>&1

install() {
    wine "$setup" /S >/dev/null 2>&1 || fail "the $1 install ended with $?"
}
# Starts the installed korvex.exe, in the background ($korvex).
start_korvex() {
    wine "$install_dir\\korvex.exe" >/dev/null 2>&1 &
    korvex=$!
    probe wait-ready 30000 || fail "the installed Korvex did not start"
}
# A running Korvex ended as by its own Exit: with exit code 0.
ended_cleanly() { # what ended it
    if probe wait-gone 5000; then
        wait "$korvex" || fail "Korvex ended by $1 with $?"
    else
        fail "$1 left Korvex running"
    fi
}

install first
install_dir=$(reg_value "$uninstall_key" InstallLocation) || {
    echo "FAIL: no uninstall entry"
    exit 1
}
inst=$(unix_path "$install_dir")
start_korvex
wine "$bin/cliptool.exe" write-utf8 "copied after the install" >/dev/null 2>&1
probe wait-rows 1 20000 || fail "the installed Korvex recorded no copy"
[ "$(reg_value "$run_key" Korvex)" = "\"$install_dir\\korvex.exe\"" ] ||
    fail "no \"Start with Windows\" for the installed Korvex"

install second
ended_cleanly "the second install"
appdata=$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
shortcut=$(unix_path "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\Korvex.lnk")
[[ "$install_dir" == *'\AppData\Local\Programs\Korvex' ]] || fail "installed into $install_dir"
[ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ] || fail "the entry's version"
[ "$(reg_value "$uninstall_key" UninstallString)" = "\"$install_dir\\uninstall.exe\"" ] ||
    fail "the entry's uninstaller"
for file in korvex.exe zendel.dll; do
    cmp -s "$inst/$file" "$dir/$file" || fail "$file not installed"
done
[ -f "$inst/README.txt" ] && [ -f "$inst/uninstall.exe" ] || fail "no read-me or uninstaller"
[ -f "$shortcut" ] || fail "no Start menu shortcut"

start_korvex
wine "$inst/uninstall.exe" /S >/dev/null 2>&1 || fail "the uninstaller ended with $?"
# The uninstaller runs on from a copy of itself: wait for what it removes.
removed() { [ ! -e "$inst" ] && ! reg_value "$uninstall_key" DisplayName >/dev/null; }
within 60 removed || fail "left behind: $(ls "$inst" 2>/dev/null | tr '\n' ' ') and the entry"
ended_cleanly "the uninstaller"
reg_value "$run_key" Korvex >/dev/null && fail "\"Start with Windows\" left"
[ -e "$shortcut" ] && fail "the Start menu shortcut left"
reg_value "$settings_key\\MainWindow" Width >/dev/null || fail "the settings were not saved and kept"
[ "$failures" -eq 0 ]
