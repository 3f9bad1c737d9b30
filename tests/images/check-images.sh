#!/usr/bin/env bash
# Checks the properties the shipped images promise, from their bytes:
# headers, imports against the allowlist, manifest, version, icon, size.
# Usage: check-images.sh <folder with TolvarineLauncher.exe, ManualLaunch.exe, TolvarineCheck.exe> <version>
# Prints one line per check ("ok ..." or "FAIL ...") and "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=$1
version=$2
passed=0
failed=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

check() {  # check <description> <command...>
    local description=$1
    shift
    if "$@" >"$work/out" 2>&1; then
        passed=$((passed + 1)); echo "ok    $description"
    else
        failed=$((failed + 1)); echo "FAIL  $description"; sed 's/^/      /' "$work/out" | head -20
    fi
}

header_is() { grep -qE "^$1[[:space:]]+$2\$" "$work/header" || { grep -E "^$1" "$work/header"; return 1; }; }
has_flag() { (( 16#$(awk '/^DllCharacteristics/ {print $2}' "$work/header") & $1 )); }
has_relocations() { grep -qE 'Entry 5 [0-9a-f]+ [0-9a-f]*[1-9a-f][0-9a-f]* Base Relocation Directory' "$work/header"; }
no_timestamp() { grep -q '^Time/Date.*1970' "$work/header"; }
imports_allowed() {
    awk '/DLL Name:/ {dll=toupper($3)} /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ && dll {print dll, $3}' "$work/header" |
        sort -u >"$work/imports"
    # Every import must be listed; report those that are not.
    ! grep -vxFf <(grep -v '^#' "$here/allowed-imports.txt") "$work/imports"
}
only_system_dlls() {
    ! grep 'DLL Name:' "$work/header" | grep -viE 'DLL Name: (KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|OLE32|COMCTL32|MSVCRT)\.dll$'
}
manifest_says() { grep -qF "$1" "$work/manifest"; }
icon_is() { icotool -l "$work/icon.ico" | head -1 | grep -qF -- "--width=46 --height=45 --bit-depth=8"; }
smaller_than() { [ "$(stat -c %s "$1")" -lt "$2" ]; }

for name in TolvarineLauncher ManualLaunch TolvarineCheck; do
    exe=$dir/$name.exe
    echo "== $name.exe ($(stat -c %s "$exe") bytes)"
    i686-w64-mingw32-objdump -p "$exe" >"$work/header"
    wrestool -x --raw --type=24 --name=1 "$exe" >"$work/manifest" 2>/dev/null
    wrestool -x --raw --type=16 "$exe" 2>/dev/null | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -c '[:print:]' '\n' | grep -v '^$' >"$work/version"
    wrestool -x --type=14 "$exe" >"$work/icon.ico" 2>/dev/null

    check "PE32 image" header_is Magic '010b\s+\(PE32\)'
    if [ "$name" = TolvarineCheck ]; then  # run from administrators' scripts
        check "console subsystem" header_is Subsystem '00000003\s+\(Windows CUI\)'
    else
        check "GUI subsystem" header_is Subsystem '00000002\s+\(Windows GUI\)'
    fi
    check "OS version 5.01" eval 'header_is MajorOSystemVersion 5 && header_is MinorOSystemVersion 1'
    check "subsystem version 5.01" eval 'header_is MajorSubsystemVersion 5 && header_is MinorSubsystemVersion 1'
    check "ASLR (dynamic base)" has_flag 0x0040
    check "relocations kept" has_relocations
    check "DEP (NX compatible)" has_flag 0x0100
    check "no SEH handlers" has_flag 0x0400
    check "terminal-server aware" has_flag 0x8000
    check "no timestamp" no_timestamp
    check "imports only system DLLs" only_system_dlls
    check "imports only allowlisted functions" imports_allowed
    check "manifest: asInvoker" manifest_says 'level="asInvoker"'
    check "manifest: no UI access" manifest_says 'uiAccess="false"'
    check "manifest: system DPI aware" manifest_says '>true</dpiAware>'
    # Common Controls 6 at start only where a window of controls shows from
    # the start; every program's boxes take them from a manifest of their own.
    cc6='name="Microsoft.Windows.Common-Controls" version="6.0.0.0"'
    at_start=no; [ "$name" != ManualLaunch ] || at_start=yes
    check "manifest: Common Controls 6 at start: $at_start" eval '[ "$(manifest_says "$cc6" && echo yes || echo no)" = "$at_start" ]'
    [ "$name" = TolvarineCheck ] || check "boxes' own manifest: Common Controls 6" eval 'wrestool -x --raw --type=24 --name=101 "$exe" | grep -qF "$cc6"'
    for os in e2011457-1546-43c5-a5fe-008deee3d3f0 35138b9a-5d96-4fbd-8e2d-a2440225f93a \
              4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 1f676c76-80e1-4239-95bb-83d0f6d0da78 \
              8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
        check "manifest: supportedOS $os" manifest_says "{$os}"
    done
    check "version: product name" eval 'grep -A1 -x ProductName "$work/version" | grep -qx Tolvarine'
    check "version: file description" eval 'grep -A1 -x FileDescription "$work/version" | grep -q Tolvarine'
    check "version: file version $version" eval 'grep -A1 -x FileVersion "$work/version" | grep -qx "$version"'
    check "version: product version $version" eval 'grep -A1 -x ProductVersion "$work/version" | grep -qx "$version"'
    check "version: copyright" eval 'grep -A1 -x LegalCopyright "$work/version" | grep -q Copyright'
    check "version: original file name" eval 'grep -A1 -x OriginalFilename "$work/version" | grep -qx "$name.exe"'
    check "icon: 46 x 45, 8 bits per pixel" icon_is
done
check "TolvarineLauncher.exe under 400 KiB" smaller_than "$dir/TolvarineLauncher.exe" $((400 * 1024))
check "TolvarineCheck.exe under 450 KiB" smaller_than "$dir/TolvarineCheck.exe" $((450 * 1024))

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
