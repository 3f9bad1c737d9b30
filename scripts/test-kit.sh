#!/usr/bin/env bash
# The Windows test kits, each a folder and a zip under build/test-kit/:
#   tolvarine-test-kit-x86   the 32-bit images as they ship (build/windows)
#                            and the 32-bit test program and helpers
#   tolvarine-test-kit-x64   their 64-bit builds, for hosts that run no
#                            32-bit code
# Each holds windows_tests.exe, the programs and helpers it starts,
# other-machine/standin_access16.exe (Access of the other edition) and
# run-tests.cmd; nothing else is needed on the PC.
#   test-kit.sh [x86] [x64]    those kits (default both), from builds made already
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/test-kit

# make_kit <name> <programs' build> <test program's build> <other machine's build>
make_kit() {
    local dir=$out/tolvarine-test-kit-$1 file
    rm -rf "$dir" "$dir.zip" && mkdir -p "$dir/other-machine"
    for file in TolvarineLauncher.exe ManualLaunch.exe TolvarineCheck.exe standin_app.exe standin_access11.exe \
                standin_access16.exe launch_observer.exe lookup_time.exe planted.dll; do
        cp "$root/build/$2/$file" "$dir/"
    done
    cp "$root/build/$3/windows_tests.exe" "$dir/"
    cp "$root/build/$4/standin_access16.exe" "$dir/other-machine/"
    # cmd reads a batch file reliably only with Windows line ends.
    sed 's/$/\r/' "$root/scripts/run-tests.cmd" >"$dir/run-tests.cmd"
    (cd "$out" && zip -qr "tolvarine-test-kit-$1.zip" "tolvarine-test-kit-$1")
    echo "Test kit: $dir ($(du -sk "$dir" | cut -f1) KiB; zip $(( $(stat -c %s "$dir.zip") / 1024 )) KiB)"
}

mkdir -p "$out"
kits=("$@")
[ $# -gt 0 ] || kits=(x86 x64)
for kit in "${kits[@]}"; do
    case $kit in
        x86) make_kit x86 windows windows-tests windows-x64 ;;
        x64) make_kit x64 windows-x64 windows-tests-x64 windows ;;
        *) echo "error: no kit '$kit': x86 or x64" >&2; exit 1 ;;
    esac
done
