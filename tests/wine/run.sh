#!/usr/bin/env bash
# Runs the Windows test program under Wine, in a fresh private prefix on a
# virtual display. Extra arguments go to GoogleTest (e.g. --gtest_filter=...).
# Needs build/windows (shipped programs and helpers) and build/wine-tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build
. "$root/tests/wine/prefix.sh"
ensure_display "$0" "$@"
wine_prefix_setup "$build/wineprefix"
trap wine_prefix_end EXIT

# Q: is an empty folder, for programs placed at a drive root.
rm -rf "$build/q-drive" && mkdir -p "$build/q-drive"
ln -sfn "$build/q-drive" "$WINEPREFIX/dosdevices/q:"

export TOLVARINE_BIN_DIR
TOLVARINE_BIN_DIR=$(wine_path "$build/windows")
wine "$build/wine-tests/wine_tests.exe" "$@"
