#!/usr/bin/env bash
# Release build from the committed sources (HEAD), in a fresh folder:
# <out>/TolvarineLauncher.exe, <out>/ManualLaunch.exe, <out>/SHA256SUMS.
# Usage: dist.sh [out folder, default dist] [work folder, default build/dist-work]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/dist}")
work=$(realpath -m "${2:-$root/build/dist-work}")
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
    echo "note: uncommitted changes are not in the release; it is built from HEAD" >&2
fi
rm -rf "$work" && mkdir -p "$work/src" "$out"
git -C "$root" archive HEAD | tar -x -C "$work/src"
(
    cd "$work/src"
    cmake --preset windows >/dev/null
    cmake --build --preset windows --target TolvarineLauncher ManualLaunch -j"$(nproc)" >/dev/null
)
cp "$work/src/build/windows/TolvarineLauncher.exe" "$work/src/build/windows/ManualLaunch.exe" "$out/"
(cd "$out" && sha256sum TolvarineLauncher.exe ManualLaunch.exe >SHA256SUMS)
echo "Release in $out:"
cat "$out/SHA256SUMS"
