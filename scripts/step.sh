#!/usr/bin/env bash
# One step of a command whose output only matters when it fails: prints
# "<what> ... done", with the step's own output kept in a log file; on a
# failure, the log's last lines and its path.
#   step.sh <what> <log file> <command...>     (or sourced: run_step, same arguments)

run_step() {
    local what=$1 log=$2 code=0
    shift 2
    mkdir -p "$(dirname "$log")"
    printf '%s ... ' "$what"
    "$@" >"$log" 2>&1 || code=$?
    if [ "$code" -eq 0 ]; then
        echo done
        return 0
    fi
    echo failed
    tail -n 25 "$log" | sed 's/^/    /' >&2
    echo "error: $what failed (exit code $code); the whole output is in $log" >&2
    return "$code"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -uo pipefail
    run_step "$@"
fi
