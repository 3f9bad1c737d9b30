# Sourced by the scripts that build or run Windows programs under Wine.
#   choose_wine_arch   sets, and exports for the scripts it starts,
#                      TOLVARINE_WINE_ARCH to 32 or 64,
#                      TOLVARINE_WINE_ARCH_NOTE to one line that says what runs how,
#                      WINE_BUILD_SUFFIX to "" or "-x64": the builds that run
#                      under Wine are build/windows$WINE_BUILD_SUFFIX and
#                      build/windows-tests$WINE_BUILD_SUFFIX.
#                      OTHER_MACHINE_PRESET to the preset built for the other
#                      machine (windows-x64 or windows), whose stand-in Access
#                      the tests read but never run.
# 32: 32-bit builds under Wine in 32-bit prefixes. 64: x86-64 builds under
# wine64 in 64-bit prefixes, for hosts whose kernel runs no 32-bit x86 code
# or where the 32-bit Wine cannot be installed.
# TOLVARINE_WINE_ARCH=32 or =64 set beforehand forces the choice.

# Written by install-deps.sh when the host runs 32-bit code but the 32-bit
# Wine could not be installed: its one line says why.
WINE32_UNAVAILABLE=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wine32-unavailable

# True when this kernel runs a 32-bit x86 program: a 96-byte static i386
# ELF that only exits with code 42. It needs no 32-bit library, so it
# answers on a fresh machine too.
host_runs_i386() {
    local dir probe
    dir=$(mktemp -d) || return 1
    probe=$dir/i386-probe
    {
        printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'  # 32-bit, little-endian
        printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'  # executable, i386, entry
        printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
        printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'  # one loaded segment
        printf '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
        printf '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80'  # exit(42)
    } >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null
    local code=$?
    rm -rf "$dir"
    [ "$code" -eq 42 ]
}

choose_wine_arch() {
    # Chosen already by the script that started this one.
    [ -n "${TOLVARINE_WINE_ARCH_NOTE:-}" ] && [ -n "${TOLVARINE_WINE_ARCH:-}" ] && return 0
    local machine
    machine=$(uname -m)
    if [ "$machine" != x86_64 ]; then
        echo "error: this host is $machine; Windows programs run here only under Wine on x86-64 Linux." >&2
        echo "       Build and test on an x86-64 Debian 12 machine." >&2
        return 1
    fi
    case "${TOLVARINE_WINE_ARCH:-}" in
        32) TOLVARINE_WINE_ARCH_NOTE="32-bit builds under Wine (forced by TOLVARINE_WINE_ARCH=32)" ;;
        64) TOLVARINE_WINE_ARCH_NOTE="64-bit builds under wine64 (forced by TOLVARINE_WINE_ARCH=64)" ;;
        "")
            if ! host_runs_i386; then
                TOLVARINE_WINE_ARCH=64
                TOLVARINE_WINE_ARCH_NOTE="64-bit builds under wine64: this host runs no 32-bit code"
            elif [ -f "$WINE32_UNAVAILABLE" ]; then
                TOLVARINE_WINE_ARCH=64
                TOLVARINE_WINE_ARCH_NOTE="64-bit builds under wine64: $(cat "$WINE32_UNAVAILABLE")"
            else
                TOLVARINE_WINE_ARCH=32
                TOLVARINE_WINE_ARCH_NOTE="32-bit builds under Wine"
            fi
            ;;
        *)
            echo "error: TOLVARINE_WINE_ARCH must be 32 or 64, not '$TOLVARINE_WINE_ARCH'." >&2
            return 1
            ;;
    esac
    WINE_BUILD_SUFFIX="" OTHER_MACHINE_PRESET=windows-x64
    [ "$TOLVARINE_WINE_ARCH" = 32 ] || WINE_BUILD_SUFFIX=-x64 OTHER_MACHINE_PRESET=windows
    export TOLVARINE_WINE_ARCH TOLVARINE_WINE_ARCH_NOTE WINE_BUILD_SUFFIX OTHER_MACHINE_PRESET
}
