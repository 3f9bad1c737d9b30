#!/usr/bin/env bash
# make bench: runs the real TolvarineLauncher.exe under Wine on a virtual
# display against the stand-in application (and the same stand-in as Access
# 2016 to 365), BENCH_RUNS times (default 20) per scenario, times the
# launcher's look-up of the Access that opens .mde files, and prints one
# table of medians and 10th/90th percentiles.
# Writes bench/results.md and bench/timeline.svg.
#
# Times come from the performance counter (equal to Linux CLOCK_MONOTONIC_RAW
# under Wine) in the observer's and the stand-in's event logs; CPU time and
# peak memory of the launcher from its Linux process in /proc.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
runs=${BENCH_RUNS:-20}
. "$root/tests/wine/prefix.sh"
ensure_display "$0" "$@"
images=$build/windows$WINE_BUILD_SUFFIX
. "$root/bench/measure.sh"
out=$build/bench
rm -rf "$out" && mkdir -p "$out"
started=$(date +%s)

echo "Preparing a private Wine prefix in build/bench-prefix ..."
wine_prefix_setup "$build/bench-prefix"
trap wine_prefix_end EXIT
bin=$(wine_path "$images")
folder=$WINEPREFIX/drive_c/Bench
mkdir -p "$folder"
cp "$images/TolvarineLauncher.exe" "$images/shell_open_only.exe" "$folder/"
: >"$folder/Tolvarine.mde"
sed 's/$/\r/' "$root/bench/usual-launch.bat" >"$folder/usual-launch.bat"
wine reg add 'HKCR\.mde' /ve /d TolvarineBench.Database /f >/dev/null
# open_mde_with <program>: the program that opens .mde files from now on.
open_mde_with() {
    wine reg add 'HKCR\TolvarineBench.Database\shell\open\command' /ve /d "\"$1\" \"%1\"" /f >/dev/null
}
open_mde_with "$bin\\standin_app.exe"
# The same stand-in as Access 2016 to 365, for the scenarios that name it.
mkdir -p "$WINEPREFIX/drive_c/Office16" "$WINEPREFIX/drive_c/Office16-other-edition"
cp "$images/standin_access16.exe" "$WINEPREFIX/drive_c/Office16/MSACCESS.EXE"
# ... and built for the other machine: the edition that cannot open the application.
cp "$build/$OTHER_MACHINE_PRESET/standin_access16.exe" "$WINEPREFIX/drive_c/Office16-other-edition/MSACCESS.EXE"
wineserver_pid=$(find_wineserver)

# time_lookup <name>: the launcher's look-up before level 1, timed in a
# fresh process each time, as the launcher makes it (Trust Center included).
time_lookup() {
    local i
    printf '%-22s' "$1"
    mkdir -p "$out/$1"
    for i in $(seq "$runs"); do
        wine "$images/lookup_time.exe" | awk '{ print "lookup_ms", $1 }' >>"$out/$1/figures.tsv"
        printf '.'
    done
    printf '\n'
}

# time_start: the launcher and the shell-open-only program, alternated, each
# started as Explorer starts a program, with no observer and no sampler;
# BENCH_START_RUNS pairs (default 30), each the other way round from the
# one before, so that going first or second favours neither. Each pair also
# gives the launcher's added cost, so that the spread of both starts does
# not hide it.
time_start() {
    local i launcher shell
    printf '%-22s' start-alternated
    mkdir -p "$out/start-launcher" "$out/start-shell-open-only" "$out/start-added"
    for i in $(seq "${BENCH_START_RUNS:-30}"); do
        if [ $((i % 2)) -eq 0 ]; then
            shell=$(start_once "$out/start-shell-open-only/$i.log" 'C:\Bench\shell_open_only.exe')
            launcher=$(start_once "$out/start-launcher/$i.log" 'C:\Bench\TolvarineLauncher.exe')
        else
            launcher=$(start_once "$out/start-launcher/$i.log" 'C:\Bench\TolvarineLauncher.exe')
            shell=$(start_once "$out/start-shell-open-only/$i.log" 'C:\Bench\shell_open_only.exe')
        fi
        echo "$launcher" >>"$out/start-launcher/figures.tsv"
        echo "$shell" >>"$out/start-shell-open-only/figures.tsv"
        [ -z "$launcher" ] || [ -z "$shell" ] ||
            awk -v a="${launcher#* }" -v b="${shell#* }" 'BEGIN { printf "added_ms %.3f\n", a - b }' >>"$out/start-added/figures.tsv"
        printf '.'
    done
    printf '\n'
}

# Group Policy for Access 16 as a hardened site sets it: user locations
# ignored, and <count> trusted locations of its own (Group Policy offers
# twenty), the last one in the order Access reads them above the look-up
# timer's folder; the first is a REG_EXPAND_SZ path.
set_trust_center_policies() {
    local key='HKCU\Software\Policies\Microsoft\Office\16.0' count=$1 i path type
    wine reg delete "$key" /f >/dev/null 2>&1 || true
    wine reg add "$key\Common\Security\Trusted Locations" /v 'Allow User Locations' /t REG_DWORD /d 0 /f >/dev/null
    for i in $(seq -w 1 "$count"); do
        type=REG_SZ path="D:\\Department $i\\"
        [ "$i" -ne 1 ] || type=REG_EXPAND_SZ path='%APPDATA%\Microsoft\Templates\'
        [ "$i" -ne "$count" ] || path="$(wine_path "$build")\\"
        wine reg add "$key\Access\Security\Trusted Locations\Location$i" /v Path /t $type /d "$path" /f >/dev/null
    done
    wine reg add "$key\Access\Security\Trusted Locations\Location$count" /v AllowSubfolders /t REG_DWORD /d 1 /f >/dev/null
}

# run_scenario <name> <window delay ms> <start-up ms> <program (Windows path)>
run_scenario() {
    local name=$1 delay=$2 startup=$3 program=$4 i
    printf '%-22s' "$name"
    mkdir -p "$out/$name"
    for i in $(seq "$runs"); do
        run_once "$out/$name/$i.log" "$delay" "$startup" "$program" >>"$out/$name/figures.tsv"
        printf '.'
    done
    printf '\n'
}

# The prefix's first launch is slower than any after it: not counted.
run_once "$out/warm-up.log" 0 0 'C:\Bench\TolvarineLauncher.exe' >/dev/null
echo "Running $runs launches per scenario:"
run_scenario launcher-0.5s 500 0 'C:\Bench\TolvarineLauncher.exe'
run_scenario launcher-2s 2000 0 'C:\Bench\TolvarineLauncher.exe'
# A slow start: the application reads the level at 9.5 s, its window at 10 s.
run_scenario launcher-10s-slow 500 9500 'C:\Bench\TolvarineLauncher.exe'
time_lookup lookup-standin
open_mde_with 'C:\Office16\MSACCESS.EXE'
run_scenario launcher-access16-0.5s 500 0 'C:\Bench\TolvarineLauncher.exe'
time_lookup lookup-access16
set_trust_center_policies 3
time_lookup lookup-access16-policy
set_trust_center_policies 20
time_lookup lookup-access16-policy20
wine reg delete 'HKCU\Software\Policies\Microsoft\Office' /f >/dev/null
open_mde_with 'C:\Office16-other-edition\MSACCESS.EXE'
time_lookup lookup-other-edition
open_mde_with "$bin\\standin_app.exe"
run_scenario shell-open-only 0 0 'C:\Bench\shell_open_only.exe'
time_start
# The application reads the level after the batch file's fixed wait is over.
run_scenario batch-file-slow 0 2700 'C:\Bench\usual-launch.bat'

elapsed=$(($(date +%s) - started))
size=$(stat -c %s "$build/windows/TolvarineLauncher.exe")
"$root/bench/report.sh" "$out" "$runs" "$size" "$elapsed" >"$root/bench/results.md"
draw_timeline "$out/launcher-2s/1.log" >"$root/bench/timeline.svg"
cat "$root/bench/results.md"
echo
echo "Written: bench/results.md, bench/timeline.svg ($elapsed s)"
