#!/usr/bin/env bash
# Two release builds from different folders at different times must give
# byte-identical images. Prints "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
base=$root/build/reproducible
rm -rf "$base"
"$root/scripts/dist.sh" "$base/first/out" "$base/first/work" >/dev/null || { echo "0 passed, 1 failed"; exit 1; }
sleep 2  # a different second, so any timestamp would differ
"$root/scripts/dist.sh" "$base/second/out" "$base/another/deeper/work" >/dev/null || { echo "0 passed, 1 failed"; exit 1; }
passed=0
failed=0
for name in TolvarineLauncher.exe ManualLaunch.exe; do
    if cmp -s "$base/first/out/$name" "$base/second/out/$name"; then
        passed=$((passed + 1)); echo "ok    $name is byte-identical across builds"
    else
        failed=$((failed + 1)); echo "FAIL  $name differs between builds"
    fi
    if grep -qaF "$base" "$base/first/out/$name"; then
        failed=$((failed + 1)); echo "FAIL  $name holds its build path"
    else
        passed=$((passed + 1)); echo "ok    $name holds no build path"
    fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
