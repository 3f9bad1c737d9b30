#!/usr/bin/env bash
# What only a start from Linux can show: the launcher directory of a probe
# deeper than MAX_PATH (260), which no Windows program can start under Wine;
# and in Wine's traces, Common Controls 6 loaded before the launcher's box is
# made (Windows XP makes none otherwise), and not at all on a run with no box.
# Prints "ok ..." or "FAIL ..." and "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build
. "$root/tests/wine/prefix.sh"
ensure_display "$0" "$@"
wine_prefix_setup "$build/wineprefix-win$TOLVARINE_WINE_ARCH"
trap wine_prefix_end EXIT
passed=0 failed=0
check() { if "${@:2}"; then passed=$((passed + 1)); echo "ok    $1"; else failed=$((failed + 1)); echo "FAIL  $1"; fi; }

deep=$build/long-path
rm -rf "$deep"
for level in $(seq 12); do deep+=/folder-level-$level-of-a-deep-tree; done
mkdir -p "$deep"
cp "$build/windows-tests$WINE_BUILD_SUFFIX/windows_tests.exe" "$deep/probe.exe"
expected=$(wine_path "$deep")
rm -f "$build/long-path.txt"
wine "$deep/probe.exe" --print-launcher-directory "$(wine_path "$build/long-path.txt")" || true
seen=$(cat "$build/long-path.txt" 2>/dev/null || echo "(nothing)")
check "launcher directory of ${#expected} characters, whole" \
    eval '[ "$seen" = "$expected" ] && [ ${#expected} -gt 260 ] || { echo "      got $seen"; false; }'

# The launcher's module and dialog lines in a fresh prefix with no program for
# ".mde" files (a box, closed by the prefix's end) or with the stand-in (no box).
traced_launch() {  # <trace file> [stand-in]
    wine_prefix_setup "$build/wineprefix-traced"
    mkdir -p "$WINEPREFIX/drive_c/Traced" && printf 'traced\r\n' >"$WINEPREFIX/drive_c/Traced/Tolvarine.mde"
    cp "$build/windows$WINE_BUILD_SUFFIX/TolvarineLauncher.exe" "$WINEPREFIX/drive_c/Traced/"
    [ -z "${2:-}" ] || wine reg add 'HKCR\.mde' /ve /d Traced.Database /f >/dev/null
    [ -z "${2:-}" ] || wine reg add 'HKCR\Traced.Database\shell\open\command' /ve /f \
        /d "\"$(wine_path "$build/windows$WINE_BUILD_SUFFIX")\\standin_app.exe\" \"%1\"" >/dev/null
    TOLVARINE_STANDIN_DELAY_MS=0 TOLVARINE_STANDIN_LIFETIME_MS=2000 WINEDEBUG=+pid,+loaddll,+dialog \
        timeout 20 "$WINELOADER" 'C:\Traced\TolvarineLauncher.exe' 2>"$1.all" &
    for _ in $(seq 150); do grep -q ':dialog:' "$1.all" && break; kill -0 $! 2>/dev/null || break; sleep 0.1; done
    wine_prefix_end
    wait $!
    local pid; pid=$(grep -m1 'Loaded .*TolvarineLauncher\.exe' "$1.all" | cut -d: -f1)
    grep -E "^$pid:[0-9a-f]+:trace:" "$1.all" | grep -E 'comctl32|:dialog:' >"$1"
    [ -n "$pid" ]
}
check "the launcher's box: Common Controls 6 loaded before its dialog is made" \
    eval 'traced_launch "$build/traced-box.log" && head -1 "$build/traced-box.log" | grep -qi "common-controls.*comctl32\.dll"'
check "a launch that shows no box loads no Common Controls" \
    eval 'traced_launch "$build/traced-no-box.log" stand-in && [ ! -s "$build/traced-no-box.log" ]'
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
