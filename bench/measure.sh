# Sourced by bench/run.sh: one measured launch, and the timeline picture.

clock_ticks=$(getconf CLK_TCK)

# The wine server of this prefix (started by wine_prefix_setup).
find_wineserver() {
    local dir
    for dir in /proc/[0-9]*; do
        [[ "$(cat "$dir/comm" 2>/dev/null)" == wineserver* ]] || continue
        grep -qxzF "WINEPREFIX=$WINEPREFIX" "$dir/environ" 2>/dev/null && { basename "$dir"; return 0; }
    done
    return 0  # a process that ended during the scan is not a failure
}

# CPU time of a process in clock ticks (user + system), or nothing once it
# is gone. Builtins only: the sampler must not load the machine it measures.
cpu_ticks() {
    local stat fields
    { IFS= read -r stat <"/proc/$1/stat"; } 2>/dev/null || return 0
    # Fields 14 and 15 (utime, stime), counted after the parenthesised command name.
    read -ra fields <<<"${stat##*) }"
    echo $((fields[11] + fields[12]))
}

peak_rss_kb() {
    local key value rest
    while read -r key value rest; do
        [ "$key" = "VmHWM:" ] && { echo "$value"; return 0; }
    done <"/proc/$1/status" 2>/dev/null
    return 0
}

# The Linux process of the program with this Windows file name in our prefix:
# a Wine process's first argument is the program's Windows path.
find_program_pid() {
    local name=${1,,} dir first
    for dir in /proc/[0-9]*; do
        { IFS= read -r -d '' first <"$dir/cmdline"; } 2>/dev/null || continue
        first=${first,,}
        [[ $first == "$name" || $first == *"\\$name" ]] || continue
        grep -qxzF "WINEPREFIX=$WINEPREFIX" "$dir/environ" 2>/dev/null || continue
        echo "${dir#/proc/}"
        return 0
    done
    return 0
}

# The application must be gone before the next launch looks for its window.
# A program that only opens the file may end before the application has
# started at all: wait for its start first (15 s at most in all).
wait_for_application_exit() {
    local tries=0 launched
    while launched=$(grep -c ' launched$' "$1" 2>/dev/null); [ "${launched:-0}" = 0 ] ||
        [ "$launched" != "$(grep -c ' exit$' "$1" 2>/dev/null)" ]; do
        [ $tries -lt 300 ] || break
        sleep 0.05; tries=$((tries + 1))
    done
}

# start_once <log> <program>: the start as a user meets it, through
# start_time.exe with nothing attached; prints "overhead_ms <value>".
start_once() {
    local log=$1
    export TOLVARINE_STANDIN_DELAY_MS=0 TOLVARINE_STANDIN_STARTUP_MS=0 TOLVARINE_STANDIN_LIFETIME_MS=300
    TOLVARINE_STANDIN_LOG=$(wine_path "$log") wine "$images/start_time.exe" "$(wine_path "$log")" "$2" || true
    wait_for_application_exit "$log"
    awk '$2 == "starter" { start = $1 } $2 ~ /^app/ && $3 == "launched" && !launched { launched = $1 }
         END { if (start && launched) printf "overhead_ms %.3f\n", (launched - start) / 1000 }' "$log"
}

# run_once <log> <delay ms> <start-up ms> <program>: prints "metric value" lines.
# CPU and memory are followed only for TolvarineLauncher.exe.
run_once() {
    local log=$1 delay=$2 startup=$3 program=$4
    export TOLVARINE_STANDIN_LOG TOLVARINE_STANDIN_DELAY_MS=$delay TOLVARINE_STANDIN_STARTUP_MS=$startup
    export TOLVARINE_STANDIN_LIFETIME_MS=$((startup + delay + 300))
    TOLVARINE_STANDIN_LOG=$(wine_path "$log")
    local server_before server_after launcher_pid="" cpu="" peak="" now t0 t1
    server_before=$(cpu_ticks "$wineserver_pid")
    t0=$(date +%s%N)
    wine "$images/launch_observer.exe" "$TOLVARINE_STANDIN_LOG" 2 "$program" &
    local observer=$!
    # Follow the program's process while it lives; its last reading is taken
    # during its final one-second pause, after the polling has ended.
    local base=${program##*\\} follow=""
    [ "$base" = TolvarineLauncher.exe ] && follow=1
    while kill -0 "$observer" 2>/dev/null; do
        [ -z "$follow" ] || [ -n "$launcher_pid" ] || launcher_pid=$(find_program_pid "$base")
        if [ -n "$launcher_pid" ]; then
            now=$(cpu_ticks "$launcher_pid"); [ -n "$now" ] && cpu=$now
            now=$(peak_rss_kb "$launcher_pid"); [ -n "$now" ] && peak=$now
        fi
        sleep 0.05
    done
    wait "$observer" || true
    t1=$(date +%s%N)
    server_after=$(cpu_ticks "$wineserver_pid")
    wait_for_application_exit "$log"
    awk -v cpu="${cpu:-}" -v peak="${peak:-}" -v tck="$clock_ticks" -v wall_ns=$((t1 - t0)) \
        -v server=$(( ${server_after:-0} - ${server_before:-0} )) '
        $2 == "observer" && $3 ~ /^launcher-start/ { start = $1 }
        $2 == "observer" && $3 == "level=1" && !l1 { l1 = $1 }
        $2 == "observer" && $3 == "level=2" && !l2 { l2 = $1 }
        $2 == "observer" && $3 ~ /^launcher-exit/ { exit_t = $1 }
        $2 ~ /^app/ && $3 == "launched" && !launched { launched = $1 }
        $2 ~ /^app/ && $3 == "start" && !seen { seen = $4; sub(/level=/, "", seen) }
        $2 ~ /^app/ && $3 == "window" && !win { win = $1 }
        $2 == "observer" && $3 == "trusted-location" && $4 != "none" && !trust_on { trust_on = $1 }
        $2 == "observer" && $3 == "trusted-location" && $4 == "none" && !trust_off { trust_off = $1 }
        END {
            if (launched) printf "overhead_ms %.3f\n", (launched - start) / 1000
            if (seen != "") printf "app_saw_level %s\n", seen
            if (l1 && l2) printf "exposure_ms %.3f\n", (l2 - l1) / 1000
            if (trust_on && trust_off) printf "trusted_ms %.3f\n", (trust_off - trust_on) / 1000
            if (l1 && win) printf "startup_part_ms %.3f\n", (win - l1) / 1000
            if (win && l2) { printf "launcher_part_ms %.3f\n", (l2 - win) / 1000
                             printf "reaction_ms %.3f\n", (l2 - win) / 1000 - 1000 }
            # Polling runs from the open (just after level 1) until the window.
            if (cpu != "" && l1 && win > l1) printf "cpu_per_wait_s %.4f\n", (cpu / tck) / ((win - l1) / 1e6)
            if (wall_ns > 0) printf "server_cpu_per_s %.4f\n", (server / tck) / (wall_ns / 1e9)
            if (peak != "") printf "peak_rss_kb %d\n", peak
        }' "$log"
}

# draw_timeline <log>: an SVG of the level over one launch, with the
# application's start and window marked.
draw_timeline() {
    sort -n "$1" | awk '
        NR == 1 { t0 = $1 }
        { t = ($1 - t0) / 1000 }
        $2 == "observer" && $3 == "level=1" && !l1 { l1 = t }
        $2 == "observer" && $3 == "level=2" && !l2 { l2 = t }
        $2 == "observer" && $3 ~ /^launcher-exit/ { end_t = t }
        $2 ~ /^app/ && $3 == "launched" && !app { app = t }
        $2 ~ /^app/ && $3 == "window" && !win { win = t }
        function x(ms) { return 60 + ms * 820 / span }
        function y(level) { return 200 - level * 60 }
        END {
            span = end_t + 300
            printf "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"920\" height=\"260\" font-family=\"sans-serif\" font-size=\"12\">\n"
            printf "<rect width=\"920\" height=\"260\" fill=\"white\"/>\n"
            printf "<text x=\"460\" y=\"20\" text-anchor=\"middle\" font-size=\"14\">Access macro-security level during one launch (window after 2 s)</text>\n"
            for (lv = 1; lv <= 2; lv++)
                printf "<text x=\"50\" y=\"%d\" text-anchor=\"end\">level %d</text><line x1=\"60\" x2=\"880\" y1=\"%d\" y2=\"%d\" stroke=\"#ddd\"/>\n", y(lv) + 4, lv, y(lv), y(lv)
            printf "<polyline fill=\"none\" stroke=\"#1f5fbf\" stroke-width=\"3\" points=\"%.1f,%d %.1f,%d %.1f,%d %.1f,%d %.1f,%d %.1f,%d\"/>\n", \
                x(0), y(2), x(l1), y(2), x(l1), y(1), x(l2), y(1), x(l2), y(2), x(span), y(2)
            printf "<rect x=\"%.1f\" y=\"%d\" width=\"%.1f\" height=\"%d\" fill=\"#e8443a\" opacity=\"0.12\"/>\n", x(l1), y(2), x(l2) - x(l1), 60
            printf "<text x=\"%.1f\" y=\"%d\" text-anchor=\"middle\" fill=\"#a02020\">level 1 in force for %.0f ms</text>\n", (x(l1) + x(l2)) / 2, y(2) + 34, l2 - l1
            marks["launcher starts"] = 0; marks["level 1 written"] = l1; marks["application starts"] = app
            marks["window \"Tolvarine\""] = win; marks["level 2 written"] = l2
            row = 0
            n = split("launcher starts|level 1 written|application starts|window \"Tolvarine\"|level 2 written", order, "|")
            for (i = 1; i <= n; i++) {
                m = marks[order[i]]
                printf "<line x1=\"%.1f\" x2=\"%.1f\" y1=\"40\" y2=\"205\" stroke=\"#555\" stroke-dasharray=\"3,3\"/>\n", x(m), x(m)
                # Labels on the right half end at their line, so none runs off the picture.
                if (x(m) > 460) printf "<text x=\"%.1f\" y=\"%d\" font-size=\"11\" text-anchor=\"end\">%s, %.0f ms</text>\n", x(m) - 3, 222 + (i % 3) * 13, order[i], m
                else printf "<text x=\"%.1f\" y=\"%d\" font-size=\"11\">%s, %.0f ms</text>\n", x(m) + 3, 222 + (i % 3) * 13, order[i], m
            }
            for (ms = 0; ms <= span; ms += 500)
                printf "<text x=\"%.1f\" y=\"55\" text-anchor=\"middle\" fill=\"#888\" font-size=\"10\">%d ms</text>\n", x(ms), ms
            printf "</svg>\n"
        }'
}
