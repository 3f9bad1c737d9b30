#!/usr/bin/env bash
# Runs the Windows test program under Wine, in a fresh private prefix on a
# virtual display. Extra arguments go to GoogleTest (e.g. --gtest_filter=...).
#   run.sh [--prefix 32|64] [GoogleTest arguments...]
# The programs are the builds this host runs (build/windows and
# build/wine-tests, or their -x64 twins); the prefix is of the same kind
# unless --prefix 64 puts 32-bit programs in a 64-bit prefix, as 64-bit
# Windows runs them.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build
. "$root/tests/wine/prefix.sh"
ensure_display "$0" "$@"
prefix_arch=$TOLVARINE_WINE_ARCH
if [ "${1:-}" = --prefix ]; then
    prefix_arch=$2
    shift 2
fi
images=$build/windows$WINE_BUILD_SUFFIX
tests=$build/wine-tests$WINE_BUILD_SUFFIX/wine_tests.exe
for needed in "$images/TolvarineLauncher.exe" "$tests"; do
    [ -f "$needed" ] || { echo "error: $needed is not built: run 'make build'." >&2; exit 1; }
done
wine_prefix_setup "$build/wineprefix-win$prefix_arch" "$prefix_arch"
trap wine_prefix_end EXIT

# Q: is an empty folder, for programs placed at a drive root.
rm -rf "$build/q-drive" && mkdir -p "$build/q-drive"
ln -sfn "$build/q-drive" "$WINEPREFIX/dosdevices/q:"

other_machine=$build/$OTHER_MACHINE_PRESET
[ -f "$other_machine/standin_access16.exe" ] || { echo "error: $other_machine/standin_access16.exe is not built: run 'make build'." >&2; exit 1; }
export TOLVARINE_BIN_DIR TOLVARINE_OTHER_MACHINE_BIN_DIR
TOLVARINE_BIN_DIR=$(wine_path "$images")
TOLVARINE_OTHER_MACHINE_BIN_DIR=$(wine_path "$other_machine")
code=0
wine "$tests" "$@" || code=$?
# GoogleTest ends with 0 or 1; anything else means it never ran, or crashed.
if [ "$code" -gt 1 ]; then
    echo "error: $(basename "$tests") ended with code $code under $WINELOADER in a $prefix_arch-bit prefix:" \
         "it could not start, or it crashed (see the lines above)." >&2
fi
exit "$code"
