#!/usr/bin/env bash
# Checks the folders' dependencies: the history core includes nothing but itself (and the C++
# library), the hotkey library nothing of Korvex's other folders, the framework nothing of Korvex.
# Prints what breaks the rule and exits non-zero, or prints "layers: ok".
set -u
cd "$(dirname "$0")/.."
status=0
check() { # folder, allowed include prefixes (regex)
    local bad
    bad=$(grep -rnE '#include "[^"]*/' "$1" --include='*.h' --include='*.cpp' |
        grep -vE "#include \"($2)/" || true)
    if [ -n "$bad" ]; then
        echo "layers: $1 includes what it must not:"
        echo "$bad"
        status=1
    fi
}
check history 'history'
check hotkeys 'hotkeys'
check framework 'framework'
[ $status -eq 0 ] && echo "layers: ok"
exit $status
