#!/usr/bin/env bash
# The one test command: installs what is missing, builds the native core (plain and under
# ASan/UBSan) and the Windows build, runs every test (the Windows ones under Wine in a fresh
# prefix on a virtual display; among them the release packages of scripts/package.sh are made,
# checked and installed), and ends with the line "N passed, M failed".
set -u
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/setup.sh || { echo "0 passed, 1 failed"; exit 1; }

passed=0
failed=0
logdir=$(mktemp -d /tmp/korvex-test.XXXXXX)
trap 'rm -rf "$logdir"' EXIT

# Adds the counts of one ctest run (its log in $1) to the totals.
count_ctest() {
    local line total fails
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
    if [ -z "$line" ]; then
        failed=$((failed + 1))
        return
    fi
    fails=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
    total=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - fails))
    failed=$((failed + fails))
}

run_preset() { # preset, [runner...]
    local preset=$1; shift
    echo "== build $preset"
    if ! bash scripts/build.sh "$preset" >"$logdir/build-$preset.log" 2>&1; then
        tail -n 60 "$logdir/build-$preset.log"
        echo "build of $preset failed"
        failed=$((failed + 1))
        return
    fi
    echo "== test $preset"
    "$@" ctest --preset "$preset" -j 2 2>&1 | tee "$logdir/test-$preset.log" | grep -vE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' || true
    count_ctest "$logdir/test-$preset.log"
}

# The folders' dependencies: one check, counted as one test.
if bash scripts/check-layers.sh; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
# ...and that check finds each kind of forbidden include planted in a copy: one more test.
if bash scripts/check-layers.sh --self-test; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
# Every C++ file as .clang-format lays it out: one check, counted as one test.
if bash scripts/format.sh --check; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

run_preset host
run_preset host-asan
run_preset windows "$root/scripts/with-wine.sh"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
