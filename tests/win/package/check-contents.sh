#!/usr/bin/env bash
# The portable zip holds exactly korvex.exe, zendel.dll and README.txt, under the version of
# the version resource; both programs are stripped and import nothing but Windows' own DLLs
# (korvex.exe also zendel.dll).
#   check-contents.sh <package folder>
set -u
dir=$1
root=$(cd "$(dirname "$0")/../../.." && pwd)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

version=$(sed -nE 's/^ *PRODUCTVERSION +([0-9]+), *([0-9]+), *([0-9]+), *([0-9]+).*/\1.\2.\3.\4/p' \
    "$root/res/korvex.rc")
zip="$dir/korvex-$version-win64.zip"
[ -f "$zip" ] || { echo "FAIL: no $zip"; exit 1; }
[ -f "$dir/korvex-$version-win64-installer.exe" ] || fail "no installer for version $version"

listing=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[ "$listing" = "README.txt korvex.exe zendel.dll " ] || fail "the zip holds: $listing"

unpacked=$(mktemp -d /tmp/korvex-contents.XXXXXX)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"

# Windows' own DLLs that a MinGW-w64 build may import.
# bcrypt.dll gives the kept history's random keys, crypt32.dll protects them for the user.
system_dlls=" advapi32.dll bcrypt.dll comctl32.dll comdlg32.dll crypt32.dll gdi32.dll imm32.dll
 kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll
 version.dll "
for program in korvex.exe zendel.dll; do
    file="$unpacked/$program"
    [ -f "$file" ] || continue
    imports=$(x86_64-w64-mingw32-objdump -p "$file" | sed -nE 's/^\s*DLL Name: (.*)$/\1/p' |
        tr 'A-Z' 'a-z' | tr -d '\r')
    grep -qx kernel32.dll <<<"$imports" || fail "$program: no import table read"
    for dll in $imports; do
        [ "$program/$dll" = korvex.exe/zendel.dll ] && continue
        [[ "$system_dlls" == *" $dll"[[:space:]]* ]] || fail "$program imports $dll"
    done
    if x86_64-w64-mingw32-objdump -h "$file" | grep -q '\.debug_' ||
        x86_64-w64-mingw32-nm "$file" 2>/dev/null | grep -q .; then
        fail "$program is not stripped"
    fi
    echo "$program: $(stat -c %s "$file") bytes, imports $(echo $imports)"
done
[ "$failures" -eq 0 ]
