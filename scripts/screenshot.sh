#!/usr/bin/env bash
# Renders Form1 (ManualLaunch.exe) under Wine on a virtual display and saves
# a PNG of the window: docs/form1.png, or the path given.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
out=$(realpath -m "${1:-$root/docs/form1.png}")
if [ -z "${SCREENSHOT_DISPLAY_READY:-}" ]; then
    SCREENSHOT_DISPLAY_READY=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$out"
fi
. "$root/tests/wine/prefix.sh"
wine_prefix_setup "$build/screenshot-prefix"
trap wine_prefix_end EXIT

wine "$build/windows$WINE_BUILD_SUFFIX/ManualLaunch.exe" &
for _ in $(seq 100); do
    geometry=$(xwininfo -root -tree 2>/dev/null | awk '/"Form1"/ { print $(NF-1); exit }')
    [ -n "$geometry" ] && break
    sleep 0.1
done
[ -n "$geometry" ] || { echo "Form1 did not appear" >&2; exit 1; }
sleep 1  # let it paint
mkdir -p "$(dirname "$out")"
import -window root -crop "$geometry" +repage "$out"
echo "Saved $out ($geometry)"
