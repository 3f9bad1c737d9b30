#!/usr/bin/env bash
# Every test: the native unit tests, the Windows test kit under Wine, the
# documentation's links, the shipped images and a release.
# Ends with one summary line, "N passed, N failed, N skipped", and fails on any failure.
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
skipped=0
status=0

count_ctest() {  # "100% tests passed, 0 tests failed out of 23"
    local line total bad
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1)
    [ -n "$line" ] || { failed=$((failed + 1)); return; }
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad)); failed=$((failed + bad))
}

count_plain() {  # "57 passed, 0 failed" or "57 passed, 0 failed, 3 skipped"
    local line
    line=$(tr -d '\r' <"$1" | grep -E '^[0-9]+ passed, [0-9]+ failed(, [0-9]+ skipped)?$' | tail -1)
    [ -n "$line" ] || { failed=$((failed + 1)); return; }
    read -r p _ f _ k _ <<<"$line"
    passed=$((passed + p)); failed=$((failed + f)); skipped=$((skipped + ${k:-0}))
}

# run_kit_tests <log name> <title> <script> [arguments...]: the Windows cases through the kit.
run_kit_tests() {
    local log=$logs/$1.log
    echo "== $2"
    "${@:3}" 2>&1 | tee "$log" | tr -d '\r' | grep -E '^\[ +(OK|FAILED|SKIPPED) +\]|Failure|Which is|Expected|needs an|^(ok|FAIL|error|note|look-up)' || true
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    count_plain "$log"
}

echo "== native unit tests"
ctest --preset native 2>&1 | tee "$logs/native.log" | grep -E '\*\*\*Failed|tests passed' || true
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
count_ctest "$logs/native.log"

run_kit_tests wine "The Windows test kit under Wine ($TOLVARINE_WINE_ARCH_NOTE), and what it restores" tests/wine/kit-checks.sh
if [ "$TOLVARINE_WINE_ARCH" = 32 ]; then
    # Most users run the 32-bit programs on 64-bit Windows.
    run_kit_tests wine-wow64 "The launch and Form1 tests again: the x86 kit in a 64-bit prefix" \
        tests/wine/run.sh --prefix 64 --kit x86 --gtest_filter='LaunchTest.*:Form1*'
fi

# What only a start from Linux shows: a program deeper than MAX_PATH (the kit skips
# that case under Wine), and Wine's traces of what the launcher loads for its box.
tests/wine/from-linux.sh >"$logs/from-linux.log" 2>&1 || status=1
grep -E '^(ok|FAIL|error)' "$logs/from-linux.log" || true
count_plain "$logs/from-linux.log"

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
echo "$passed passed, $failed failed, $skipped skipped"
exit $status
