#!/usr/bin/env bash
# Configures and builds the given presets (default: all three).
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in "${@:-native windows wine-tests}"; do
    for p in $preset; do
        cmake --preset "$p" >/dev/null
        cmake --build --preset "$p" -j"$(nproc)"
    done
done
