#!/usr/bin/env bash
# Every test: the native unit tests, then the Windows programs under Wine.
# Ends with one summary line, "N passed, N failed", and fails on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
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
    [ -n "$total" ] && [ -n "$good" ] || { failed=$((failed + 1)); return; }
    passed=$((passed + good)); failed=$((failed + total - good))
}

echo "== native unit tests"
ctest --preset native 2>&1 | tee "$logs/native.log" | grep -E '\*\*\*Failed|tests passed' || true
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
count_ctest "$logs/native.log"

echo "== Windows programs under Wine"
tests/wine/run.sh 2>&1 | tee "$logs/wine.log" | grep -E '^\[ +(OK|FAILED) +\]|Failure|Which is|Expected' || true
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
count_gtest "$logs/wine.log"

echo "== shipped images"
version=$(sed -nE 's/^project\(Tolvarine VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
tests/images/check-images.sh build/windows "$version" >"$logs/images.log" 2>&1 || status=1
grep -E '^(FAIL|  )' "$logs/images.log" || true
count_plain "$logs/images.log"
tests/images/check-reproducible.sh >"$logs/reproducible.log" 2>&1 || status=1
cat "$logs/reproducible.log" | grep -v passed
count_plain "$logs/reproducible.log"

[ "$failed" -eq 0 ] || status=1
echo "Full logs: $logs"
echo "$passed passed, $failed failed"
exit $status
