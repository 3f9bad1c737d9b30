#!/usr/bin/env bash
# Turns the figures of bench/run.sh into bench/results.md (on stdout).
# Usage: report.sh <bench output folder> <runs> <launcher size in bytes> <seconds taken>
set -euo pipefail
out=$1 runs=$2 size=$3 elapsed=$4

# stats <scenario> <metric>: "median p10 p90" (linear interpolation), or "- - -".
stats() {
    awk -v metric="$2" '$1 == metric { v[n++] = $2 }
        function q(p,   h, lo) { h = (n - 1) * p; lo = int(h); return v[lo] + (h - lo) * (v[lo + (lo + 1 < n)] - v[lo]) }
        END {
            if (!n) { print "- - -"; exit }
            for (i = 1; i < n; i++) for (j = i; j > 0 && v[j - 1] > v[j]; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
            printf "%s %s %s\n", q(0.5), q(0.1), q(0.9)
        }' "$out/$1/figures.tsv" 2>/dev/null || echo "- - -"
}

row() {  # row <figure> <scenario> <metric> <format>
    local m p10 p90
    read -r m p10 p90 < <(stats "$2" "$3")
    if [ "$m" = - ]; then printf '| %s | %s | – | – | – |\n' "$1" "$2"; return; fi
    printf "| %s | %s | $4 | $4 | $4 |\n" "$1" "$2" "$m" "$p10" "$p90"
}

saw_level_1() {  # "k of n"
    awk '$1 == "app_saw_level" { n++; if ($2 == 1) k++ } END { printf "%d of %d", k, n }' "$out/$1/figures.tsv"
}

ratio() {
    local a b
    a=$(stats "$1" overhead_ms | cut -d' ' -f1)
    b=$(stats "$2" overhead_ms | cut -d' ' -f1)
    awk -v a="$a" -v b="$b" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "–" }'
}

cat <<HEADER
# Benchmark results

\`make bench\`: the real \`TolvarineLauncher.exe\` under Wine on a virtual display,
$runs launches per scenario, against the stand-in application (registered for
\`.mde\`; its window appears after the delay named in the scenario). Median,
10th and 90th percentile.

Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores,
$(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo); $(. /etc/os-release && echo "$PRETTY_NAME"), $(wine --version);
$(date -u +%Y-%m-%d); ${TOLVARINE_WINE_ARCH_NOTE:-32-bit builds under Wine}. The whole run took $elapsed s.

Scenarios: \`launcher-0.5s\`, \`launcher-2s\`: window 0.5 s or 2 s after the
application starts. \`launcher-10s-slow\`: a slow start, the application reads
the level at 9.5 s and shows its window at 10 s. \`launcher-access16-0.5s\`: as
\`launcher-0.5s\`, with the stand-in installed as \`MSACCESS.EXE\` of version 16
opening \`.mde\` files, so that the launcher also adds and removes its trusted
location. \`lookup-standin\`, \`lookup-access16\`, \`lookup-other-edition\`: the
launcher's look-up before level 1 (the program that opens \`.mde\` files and,
for Access, its version and machine), timed in a fresh process by
\`bench/lookup_time.cpp\`, with each of those programs opening \`.mde\` files
(the last is the Access 16 stand-in built for the other machine, which the
launcher refuses). \`shell-open-only\`: a program
that only opens the file through the shell. \`batch-file-slow\`: the usual
batch file (\`bench/usual-launch.bat\`: \`reg add\` level 1, \`start\` the
database, wait a fixed 2 s with \`ping\`, \`reg add\` level 2), with an
application that reads the level 2.7 s after it starts. Its exposure does not
depend on the application: it is the fixed wait.

| Figure | Scenario | Median | P10 | P90 |
|---|---|---|---|---|
HEADER
for s in launcher-0.5s launcher-2s launcher-10s-slow launcher-access16-0.5s batch-file-slow; do
    row "Exposure: level 1 in force (ms)" $s exposure_ms %.1f
done
row "Exposure: trusted location in force (ms)" launcher-access16-0.5s trusted_ms %.1f
for s in launcher-0.5s launcher-2s launcher-10s-slow launcher-access16-0.5s; do
    row "… the application's start-up: level 1 → window (ms)" $s startup_part_ms %.1f
    row "… the launcher's part: window → level 2 (ms)" $s launcher_part_ms %.1f
done
for s in launcher-0.5s launcher-2s launcher-10s-slow launcher-access16-0.5s; do
    row "Reaction: window → level 2, less the 1000 ms settle (ms)" $s reaction_ms %.2f
done
row "Start as a user meets it: program start → application process start (ms)" start-launcher overhead_ms %.1f
row "Start as a user meets it: program start → application process start (ms)" start-shell-open-only overhead_ms %.1f
row "… the launcher's added start cost: launcher − shell-only, each alternated pair (ms)" start-added added_ms %.1f
for s in launcher-0.5s launcher-access16-0.5s shell-open-only; do
    row "Start under the observer and sampler (not comparable, see below) (ms)" $s overhead_ms %.1f
done
for s in lookup-standin lookup-access16 lookup-access16-policy lookup-access16-policy20 lookup-other-edition; do
    row "Look-up before level 1: .mde handler, its version and machine, Trust Center (ms)" $s lookup_ms %.2f
done
for s in launcher-0.5s launcher-2s launcher-10s-slow; do
    row "CPU: launcher, CPU s per s of waiting" $s cpu_per_wait_s %.3f
    row "CPU: wine server beside it, CPU s per s" $s server_cpu_per_s %.3f
done
row "Memory: launcher's peak resident set (KiB)" launcher-0.5s peak_rss_kb %.0f

cat <<FOOTER

- Start as a user meets it, against the shell-only program (ratio of medians): $(ratio start-launcher start-shell-open-only);
  the launcher's added start cost, median of the pairs: $(stats start-added added_ms | awk '{ printf "%.1f ms (P10–P90 %.1f to %.1f ms), %s the goal of at most 10 ms", $1, $2, $3, ($1 <= 10 ? "within" : "over") }').
- Size of \`TolvarineLauncher.exe\`: $size bytes ($(awk -v s="$size" 'BEGIN { printf "%.1f", s / 1024 }') KiB).
- The application saw level 1 at its start: launcher-0.5s $(saw_level_1 launcher-0.5s),
  launcher-10s-slow $(saw_level_1 launcher-10s-slow), batch-file-slow $(saw_level_1 batch-file-slow).

How the figures are taken: the observer (\`tests/support/launch_observer.exe\`)
stamps the launcher's start and, through \`RegNotifyChangeKeyValue\`, each write
of the level; the stand-in stamps its process start, the level it read and the
moment its window got its title. All stamps are \`QueryPerformanceCounter\`,
which under Wine is Linux \`CLOCK_MONOTONIC_RAW\`. CPU and peak resident set
come from the launcher's Linux process (\`/proc\`), read every 50 ms while it
lives; the last reading falls in its final one-second pause, after the
polling. "Per s of waiting" divides the launcher's CPU time by the time from
level 1 to the window. The wine server's CPU is over the whole launch and
also serves the stand-in and the observer. The resident set of a Wine process
includes Wine's own libraries.

The start as a user meets it: \`bench/start_time.cpp\` starts the program as
Explorer does (\`CreateProcess\`, nothing attached), stamping the moment
before; the stand-in stamps its own process start. The launcher and the
shell-open-only program take turns, one after the other, in the same prefix,
${BENCH_START_RUNS:-30} pairs, each in the other order from the one before; the added
start cost is the launcher's time less the shell-only program's in each pair.
The start figures of the launch scenarios are not that: there the observer
watches the registry and writes its log while the launcher starts (which
the shell-only program, writing no level, never makes it do), the sampler
scans \`/proc\` every 50 ms until it finds the launcher, and each scenario runs
its 20 launches in a row, so that the launcher's scenarios, which come
first, also pay for the prefix's first runs. A warm-up launch before all
scenarios now takes the first-run cost.

\`lookup-access16-policy\`: as \`lookup-access16\`, with Group Policy for
Access 16 set as a hardened site sets it: user locations not allowed, and
three policy locations (one \`REG_EXPAND_SZ\`), the last one above the
look-up timer's folder with its subfolders. \`lookup-access16-policy20\`: the
same with the twenty policy locations Group Policy offers, the covering one
read last.
FOOTER
