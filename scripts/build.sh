#!/usr/bin/env bash
# Configures and builds CMake presets.
#   build.sh         everything: the native tests, the shipped 32-bit images,
#                    and the Windows programs and tests that run under Wine
#                    here, put together as the test kit of this host's machine
#   build.sh wine    the shipped images and the programs that run under Wine here
#   build.sh bench   the same, and the stand-in Access built for the other machine
#   build.sh P...    the named presets
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-arch.sh
choose_wine_arch
# The programs that run under Wine: the shipped images themselves, or their
# 64-bit twins where this host runs no 32-bit code. The tests and the bench
# also read (never run) the stand-in Access built for the other machine.
wine_programs=windows
[ "$TOLVARINE_WINE_ARCH" = 32 ] || wine_programs="windows windows-x64"
other_machine=$OTHER_MACHINE_PRESET
case "${1:-all}" in
    all) presets="native $wine_programs windows-tests$WINE_BUILD_SUFFIX" ;;
    wine) presets=$wine_programs; other_machine= ;;
    bench) presets=$wine_programs ;;
    *) presets="$*"; other_machine= ;;
esac
for p in $presets; do
    cmake --preset "$p" >/dev/null
    cmake --build --preset "$p" -j"$(nproc)"
done
if [ -n "$other_machine" ]; then
    cmake --preset "$other_machine" >/dev/null
    cmake --build --preset "$other_machine" -j"$(nproc)" --target standin_access16
fi
if [ "${1:-all}" = all ]; then
    if [ "$TOLVARINE_WINE_ARCH" = 32 ]; then scripts/test-kit.sh x86; else scripts/test-kit.sh x64; fi
fi
