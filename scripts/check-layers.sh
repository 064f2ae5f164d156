#!/usr/bin/env bash
# Checks the folders' layers. From the top: app > views > {settings, clipboard, store} > framework,
# and below them history and hotkeys. A folder includes its own headers and those of the folders
# below it, never one above it or a sibling (settings, clipboard and store; history and hotkeys);
# the framework includes nothing of Korvex at all, and res/ (resource ids and message numbers) is
# for the folders above the framework (store/ does without it). The history core includes no
# platform header either (<windows.h> or any other Windows SDK header): it is built and tested
# natively.
# Prints what breaks the rule and exits non-zero, or prints "layers: ok".
#
#   scripts/check-layers.sh [root]      checks the tree at root (default: this repository)
#   scripts/check-layers.sh --self-test plants each kind of forbidden include in a copy of the
#                                       tree and expects the check to find it, and to pass on the
#                                       copy without it
set -u
here=$(cd "$(dirname "$0")/.." && pwd)

# The folders that each folder may include, itself first.
folders=(history hotkeys framework settings clipboard store views app)
declare -A allowed=(
    [history]='history'
    [hotkeys]='hotkeys'
    [framework]='framework'
    [settings]='settings framework history hotkeys res'
    [clipboard]='clipboard framework history hotkeys res'
    [store]='store framework history'
    [views]='views settings clipboard store framework history hotkeys res'
    [app]='app views settings clipboard store framework history hotkeys res'
)

# Windows SDK headers, as named in an include (compared without regard to case).
platform_headers='win[^/]*\.h|winrt/.*|commctrl\.h|commdlg\.h|shellapi\.h|shlobj(_core)?\.h|'
platform_headers+='shlwapi\.h|shtypes\.h|objbase\.h|objidl\.h|ole2\.h|oleauto\.h|olectl\.h|'
platform_headers+='unknwn\.h|tchar\.h|wtypes(base)?\.h|basetsd\.h|guiddef\.h|ntdef\.h|'
platform_headers+='ntstatus\.h|rpc(ndr)?\.h|strsafe\.h|[a-z0-9]+api\.h|richedit\.h|uxtheme\.h|'
platform_headers+='psapi\.h|dbghelp\.h|imm\.h|mmsystem\.h|propidl\.h|comdef\.h|sdkddkver\.h|'
platform_headers+='specstrings\.h|sal\.h|ws2[a-z0-9_]*\.h|bcrypt\.h|ncrypt\.h|dpapi\.h|'
platform_headers+='userenv\.h|versionhelpers\.h|crtdbg\.h'

check() { # root; prints what breaks the rule, returns 1 then
    local root=$1 folder rules=''
    for folder in "${folders[@]}"; do
        rules+="$folder=${allowed[$folder]};"
    done
    # Every include as "file:line:<name>" or "file:line:"name"".
    (cd "$root" && grep -rnoE --include='*.h' --include='*.hpp' --include='*.inl' \
        --include='*.c' --include='*.cc' --include='*.cpp' \
        '^[[:space:]]*#[[:space:]]*include[[:space:]]*("[^"]+"|<[^>]+>)' "${folders[@]}" 2>/dev/null) |
        sed -E 's/:[[:space:]]*#[[:space:]]*include[[:space:]]*/:/' |
        awk -F: -v rules="$rules" -v platform="^($platform_headers)\$" '
            BEGIN {
                n = split(rules, list, ";")
                for (i = 1; i <= n; i++) {
                    if (split(list[i], rule, "=") == 2) {
                        top[rule[1]] = 1
                        split(rule[2], names, " ")
                        for (j in names) ok[rule[1], names[j]] = 1
                    }
                }
                top["res"] = 1
                status = 0
            }
            {
                file = $1; line = $2; name = substr($0, length(file) + length(line) + 3)
                folder = file; sub(/\/.*/, "", folder)
                kind = substr(name, 1, 1); name = substr(name, 2, length(name) - 2)
                if (folder == "history" && tolower(name) ~ platform) {
                    print "layers: " file ":" line ": history/ includes the platform header " name
                    status = 1
                }
                if (kind != "\"") next
                # A path from a top folder goes from the root; any other from the file folder.
                first = name; sub(/\/.*/, "", first)
                path = (first in top) ? name : dirname(file) "/" name
                target = normalised_top(path)
                if (target in top && !((folder, target) in ok)) {
                    print "layers: " file ":" line ": " folder "/ includes " name " of " target "/"
                    status = 1
                }
            }
            function dirname(f) { sub(/\/[^\/]*$/, "", f); return f }
            # The first folder of a path once its "." and ".." are taken out.
            function normalised_top(p,    parts, n, i, depth, stack) {
                n = split(p, parts, "/"); depth = 0
                for (i = 1; i <= n; i++) {
                    if (parts[i] == "..") { if (depth > 0) depth-- }
                    else if (parts[i] != "." && parts[i] != "") stack[++depth] = parts[i]
                }
                return depth > 1 ? stack[1] : ""
            }
            END { exit status }'
}

self_test() {
    local status=0 plant file text folder
    copy=$(mktemp -d /tmp/korvex-layers.XXXXXX)
    trap 'rm -rf "$copy"' EXIT
    for folder in "${folders[@]}" res; do
        cp -r "$here/$folder" "$copy/"
    done
    if ! check "$copy" >/dev/null; then
        echo "layers self-test: the tree itself breaks the rule"
        status=1
    fi
    # Each plant: a file of the copy, the include planted in it.
    local plants=(
        'history/KorvexDoc.cpp|#include <windows.h>'
        'history/ClipItem.h|#  include <WinUser.h>'
        'history/TextSearch.cpp|#include <shellapi.h>'
        'views/HistoryRows.cpp|#include "app/MainFrame.h"'
        'views/HistoryRows.h|#include "../app/MainFrame.h"'
        'framework/Menu.cpp|#include "history/KorvexDoc.h"'
        'settings/OptionsDlg.cpp|#include "clipboard/ClipboardText.h"'
        'hotkeys/HookKey.cpp|#include "res/resource.h"'
        'store/Win32HistoryFileStore.cpp|#include "settings/ApplicationRegistry.h"'
        'store/Win32HistoryFileStore.h|#include "res/resource.h"'
        'clipboard/PrivateClip.cpp|#include "store/Win32HistoryFileStore.h"'
    )
    for plant in "${plants[@]}"; do
        file=${plant%%|*}
        text=${plant#*|}
        cp "$copy/$file" "$copy/$file.orig"
        printf '%s\n' "$text" >>"$copy/$file"
        if ! check "$copy" | grep -qF "layers: $file:$(wc -l <"$copy/$file"):"; then
            echo "layers self-test: not found: $text in $file"
            status=1
        fi
        mv "$copy/$file.orig" "$copy/$file"
    done
    [ $status -eq 0 ] && echo "layers self-test: ok (${#plants[@]} planted includes found)"
    return $status
}

if [ "${1:-}" = --self-test ]; then
    self_test
    exit
fi
check "${1:-$here}" && echo "layers: ok"
