#!/usr/bin/env bash
# Every test: the native unit tests, then the Windows programs under Wine.
# Ends with one summary line, "N passed, N failed", and fails on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-arch.sh
choose_wine_arch || exit 1
how=$TOLVARINE_WINE_ARCH_NOTE
[ "$TOLVARINE_WINE_ARCH" = 64 ] || how="$how; the launch and Form1 tests also in a 64-bit prefix"
echo "Windows tests run on $how"
logs=build/test-logs
mkdir -p "$logs"
passed=0
failed=0
status=0

count_ctest() {  # "100% tests passed, 0 tests failed out of 23"
    local line total bad
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1)
    [ -n "$line" ] || { failed=$((failed + 1)); return; }
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad)); failed=$((failed + bad))
}

count_plain() {  # "57 passed, 0 failed"
    local line
    line=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$1" | tail -1)
    [ -n "$line" ] || { failed=$((failed + 1)); return; }
    passed=$((passed + $(awk '{print $1}' <<<"$line"))); failed=$((failed + $(awk '{print $3}' <<<"$line")))
}

count_gtest() {  # "[==========] 12 tests from 3 test suites ran." and "[  PASSED  ] 11 tests."
    local total good
    total=$(grep -E '^\[==========\] [0-9]+ tests? from .* ran' "$1" | tail -1 | awk '{print $2}')
    good=$(grep -E '^\[  PASSED  \] [0-9]+ tests?' "$1" | tail -1 | awk '{print $4}')
    if [ -z "$total" ] || [ -z "$good" ]; then
        echo "error: no Windows test ran to its end: see $1"
        failed=$((failed + 1))
        return
    fi
    [ "$total" -gt 0 ] || { echo "error: no Windows test was selected: see $1"; failed=$((failed + 1)); }
    passed=$((passed + good)); failed=$((failed + total - good))
}

# run_wine_tests <log name> <title> [run.sh arguments...]
run_wine_tests() {
    local log=$logs/$1.log
    echo "== $2"
    shift 2
    tests/wine/run.sh "$@" 2>&1 | tee "$log" | grep -E '^\[ +(OK|FAILED) +\]|Failure|Which is|Expected|^error:' || true
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    count_gtest "$log"
}

echo "== native unit tests"
ctest --preset native 2>&1 | tee "$logs/native.log" | grep -E '\*\*\*Failed|tests passed' || true
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
count_ctest "$logs/native.log"

run_wine_tests wine "Windows programs under Wine: $TOLVARINE_WINE_ARCH_NOTE"
if [ "$TOLVARINE_WINE_ARCH" = 32 ]; then
    # Most users run the 32-bit programs on 64-bit Windows.
    run_wine_tests wine-wow64 "The launch and Form1 tests again: 32-bit programs in a 64-bit prefix" \
        --prefix 64 --gtest_filter='LaunchTest.*:Form1*'
fi

tests/wine/long-path.sh >"$logs/long-path.log" 2>&1 || status=1
grep -E '^(ok|FAIL|error)' "$logs/long-path.log" || true
count_plain "$logs/long-path.log"

echo "== documentation links"
tests/docs/check-links.py >"$logs/links.log" 2>&1 || status=1
grep -E '^FAIL' "$logs/links.log" || true
count_plain "$logs/links.log"

echo "== shipped images"
version=$(sed -nE 's/^project\(Tolvarine VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
tests/images/check-images.sh build/windows "$version" >"$logs/images.log" 2>&1 || status=1
grep -E '^(FAIL|  )' "$logs/images.log" || true
count_plain "$logs/images.log"
tests/images/check-release.sh >"$logs/release.log" 2>&1 || status=1
grep -v passed "$logs/release.log"
count_plain "$logs/release.log"

[ "$failed" -eq 0 ] || status=1
echo "Full logs: $logs"
echo "Windows tests ran on $how"
echo "$passed passed, $failed failed"
exit $status
