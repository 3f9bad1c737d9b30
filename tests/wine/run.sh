#!/usr/bin/env bash
# Runs the Windows test kit under Wine as a Windows user starts it, in a
# fresh private prefix on a virtual display. Arguments go to run-tests.cmd
# (e.g. --gtest_filter=..., --as-standard-user).
#   run.sh [--prefix 32|64] [--kit x86|x64] [run-tests.cmd arguments...]
# The kit is the one this host runs (x86, or x64 where it runs no 32-bit
# code), in a prefix of the same kind unless --prefix 64 puts the x86 kit
# in a 64-bit prefix, as 64-bit Windows runs it.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/wine/prefix.sh"
ensure_display "$0" "$@"
prefix_arch=$TOLVARINE_WINE_ARCH
kit=x86
[ "$TOLVARINE_WINE_ARCH" = 32 ] || kit=x64
while [ $# -gt 0 ]; do
    case $1 in
        --prefix) prefix_arch=$2; shift 2 ;;
        --kit) kit=$2; shift 2 ;;
        *) break ;;
    esac
done
kit_dir=$root/build/test-kit/tolvarine-test-kit-$kit
[ -f "$kit_dir/run-tests.cmd" ] || { echo "error: $kit_dir is not built: run 'make build'." >&2; exit 1; }
kit_prefix_setup "$root/build/wineprefix-win$prefix_arch" "$prefix_arch"
trap wine_prefix_end EXIT
run_kit "$kit_dir" "$@"
