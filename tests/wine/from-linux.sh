#!/usr/bin/env bash
# What only a start from Linux can show:
# - GetLauncherDirectory for a program whose full path is longer than
#   MAX_PATH (260): Windows programs cannot start such a program under Wine,
#   so the test program is started from here as a probe, and asked where it is;
# - from Wine's own traces, that the launcher loads Common Controls 6 before
#   its box's dialog is made (Windows XP makes none otherwise; Wine and later
#   Windows load it on demand), and loads none on a run that shows no box.
# Prints "ok ..." or "FAIL ..." and "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build
. "$root/tests/wine/prefix.sh"
ensure_display "$0" "$@"
images=$build/windows$WINE_BUILD_SUFFIX
passed=0 failed=0
check() {  # check <description> <command...>
    if "${@:2}"; then passed=$((passed + 1)); echo "ok    $1"; else failed=$((failed + 1)); echo "FAIL  $1"; fi
}

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
check "launcher directory of ${#expected} characters, whole" \
    eval '[ "$seen" = "$expected" ] && [ ${#expected} -gt 260 ] || { echo "      got $seen"; false; }'

# traced_launch <trace file> [settings...]: the launcher in a fresh prefix,
# with Wine's module and dialog traces, and with no program for ".mde" files
# unless the settings give one. A box is left up: the prefix ends it.
traced_launch() {
    wine_prefix_setup "$build/wineprefix-traced"
    mkdir -p "$WINEPREFIX/drive_c/Traced"
    cp "$images/TolvarineLauncher.exe" "$WINEPREFIX/drive_c/Traced/"
    printf 'traced\r\n' >"$WINEPREFIX/drive_c/Traced/Tolvarine.mde"
    if [ "${2:-}" = stand-in ]; then
        wine reg add 'HKCR\.mde' /ve /d Traced.Database /f >/dev/null
        wine reg add 'HKCR\Traced.Database\shell\open\command' /ve \
            /d "\"$(wine_path "$images")\\standin_app.exe\" \"%1\"" /f >/dev/null
    fi
    TOLVARINE_STANDIN_DELAY_MS=0 TOLVARINE_STANDIN_LIFETIME_MS=2000 WINEDEBUG=+pid,+loaddll,+dialog \
        timeout 20 "$WINELOADER" 'C:\Traced\TolvarineLauncher.exe' 2>"$1" &
    local run=$!
    for _ in $(seq 150); do grep -q ':dialog:' "$1" && break; kill -0 $run 2>/dev/null || break; sleep 0.1; done
    wine_prefix_end
    wait $run
}
# launcher_lines <trace file>: the module and dialog lines of the launcher's own process.
launcher_lines() {
    local pid
    pid=$(grep -m1 'Loaded .*TolvarineLauncher\.exe' "$1" | cut -d: -f1)
    grep -E "^$pid:[0-9a-f]+:trace:(loaddll|dialog):" "$1" | grep -E 'comctl32|:dialog:'
}
traced_launch "$build/traced-box.log"
check "the launcher's box: Common Controls 6 loaded before its dialog is made" \
    eval 'launcher_lines "$build/traced-box.log" | head -1 | grep -qi "common-controls.*comctl32\.dll"'
traced_launch "$build/traced-no-box.log" stand-in
check "a launch that shows no box loads no Common Controls" \
    eval 'grep -q "Loaded .*TolvarineLauncher" "$build/traced-no-box.log" && ! launcher_lines "$build/traced-no-box.log" | grep -q .'
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
