#!/usr/bin/env bash
# Runs the real TolvarineLauncher.exe under Wine on a demo folder twice and
# prints the timeline of each launch, after what TolvarineCheck.exe said of
# it beforehand: with a stand-in for the database
# application registered for ".mde", then with the same stand-in as Access
# 2016 to 365 (MSACCESS.EXE of version 16), for which the launcher also adds
# its trusted location. Uses a virtual display when there is none.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
. "$root/tests/wine/prefix.sh"
ensure_display "$0" "$@"
images=$build/windows$WINE_BUILD_SUFFIX
echo "The demo runs $TOLVARINE_WINE_ARCH_NOTE."
echo "Preparing a private Wine prefix in build/demo-prefix ..."
wine_prefix_setup "$build/demo-prefix"
trap wine_prefix_end EXIT

bin=$(wine_path "$images")
demo="$WINEPREFIX/drive_c/Tolvarine Demo"
mkdir -p "$demo"
cp "$images/TolvarineLauncher.exe" "$images/TolvarineCheck.exe" "$demo/"
printf 'placeholder database for the launcher demo\r\n' >"$demo/Tolvarine.mde"
wine reg add 'HKCR\.mde' /ve /d TolvarineDemo.Database /f >/dev/null
wine reg add 'HKCR\TolvarineDemo.Database\shell\open\command' /ve /d "\"$bin\\standin_app.exe\" \"%1\"" /f >/dev/null

# launch <log> <what opens .mde files>: one run through the observer, then its timeline.
launch() {
    local log=$1 code=0
    rm -f "$log"
    export TOLVARINE_STANDIN_LOG TOLVARINE_STANDIN_DELAY_MS=1500 TOLVARINE_STANDIN_LIFETIME_MS=5000
    TOLVARINE_STANDIN_LOG=$(wine_path "$log")
    local verdict
    verdict=$(wine 'C:\Tolvarine Demo\TolvarineCheck.exe' | head -1 | tr -d '\r') || true
    wine "$images/launch_observer.exe" "$TOLVARINE_STANDIN_LOG" 3 'C:\Tolvarine Demo\TolvarineLauncher.exe' || code=$?
    sleep 4  # the stand-in's window stays up a moment, then it closes itself
    # The launcher's own codes are 0 to 5; above that the run never got going.
    if [ "$code" -gt 5 ]; then
        echo "error: the launch did not run: launch_observer.exe ended with code $code under $WINELOADER." >&2
        exit "$code"
    fi
    echo
    echo "Launch of C:\\Tolvarine Demo\\TolvarineLauncher.exe, $2 (level was 3 before the run)."
    echo "TolvarineCheck.exe beforehand: $verdict"
    sort -n "$log" | awk '
        NR == 1 { start = $1 }
        { t = ($1 - start) / 1000.0; rest = $0; sub(/^[^ ]+ [^ ]+ [^ ]+ ?/, "", rest) }
        $2 == "observer" && $3 ~ /^launcher-start/ { printf "%9.1f ms  launcher started\n", t }
        $2 == "observer" && $3 == "level=1"      { printf "%9.1f ms  level 1 written\n", t }
        $2 == "observer" && $3 == "trusted-location" && $4 != "none" {
                                                   v = $4; sub(/^[^ ]+ /, "", rest)
                                                   printf "%9.1f ms  trusted location added for Access %s: %s\n", t, v, rest }
        $2 == "observer" && $3 == "trusted-location" && $4 == "none" {
                                                   printf "%9.1f ms  trusted location removed\n", t }
        $2 ~ /^app/ && $3 == "start"             { sub(/^level=/, "", $4); file = $0; sub(/.* file=/, "", file)
                                                   printf "%9.1f ms  application started, saw level %s, opened %s\n", t, $4, file }
        $2 ~ /^app/ && $3 == "trusted-location"  { printf "%9.1f ms  application saw trusted location: %s\n", t, rest }
        $2 ~ /^app/ && $3 == "window"            { window = t; printf "%9.1f ms  window \"Tolvarine\" shown\n", t }
        $2 == "observer" && $3 == "level=2"      { printf "%9.1f ms  level 2 written (%.1f ms after the window)\n", t, t - window }
        $2 == "observer" && $3 ~ /^launcher-exit/ { sub(/^code=/, "", $4); sub(/^level=/, "", $5)
                                                   printf "%9.1f ms  launcher exited with code %s; level now %s\n", t, $4, $5 }
    '
    last_code=$code
}

launch "$build/demo-timeline.log" "the stand-in application opening .mde files"
first_code=$last_code

# Access 2016 to 365 (a stand-in with their version resource) opens .mde files.
office="$WINEPREFIX/drive_c/Program Files/Microsoft Office/root/Office16"
mkdir -p "$office"
cp "$images/standin_access16.exe" "$office/MSACCESS.EXE"
wine reg add 'HKCR\TolvarineDemo.Database\shell\open\command' /ve \
    /d '"C:\Program Files\Microsoft Office\root\Office16\MSACCESS.EXE" "%1"' /f >/dev/null
launch "$build/demo-timeline-access16.log" "Access 16.0 opening .mde files"
exit $((first_code ? first_code : last_code))
