#!/usr/bin/env bash
# GetLauncherDirectory for a program whose full path is longer than MAX_PATH
# (260). Windows programs cannot start such a program under Wine, so the
# test program is started from here as a probe, and asked where it is.
# Prints "ok ..." or "FAIL ..." and "N passed, N failed".
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build
. "$root/tests/wine/prefix.sh"
wine_prefix_setup "$build/wineprefix-win$TOLVARINE_WINE_ARCH"
trap wine_prefix_end EXIT

deep=$build/long-path
rm -rf "$deep"
for level in $(seq 12); do deep+=/folder-level-$level-of-a-deep-tree; done
mkdir -p "$deep"
cp "$build/windows-tests$WINE_BUILD_SUFFIX/windows_tests.exe" "$deep/probe.exe"
expected=$(wine_path "$deep")
rm -f "$build/long-path.txt"
wine "$deep/probe.exe" --print-launcher-directory "$(wine_path "$build/long-path.txt")" || true
seen=$(cat "$build/long-path.txt" 2>/dev/null || echo "(nothing)")
if [ "$seen" = "$expected" ] && [ ${#expected} -gt 260 ]; then
    echo "ok    launcher directory of ${#expected} characters, whole"
    echo "1 passed, 0 failed"
else
    echo "FAIL  launcher directory of ${#expected} characters: expected $expected, got $seen"
    echo "0 passed, 1 failed"
    exit 1
fi
