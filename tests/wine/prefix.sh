# Sourced by the scripts that run Windows programs under Wine.
#   ensure_display "$0" "$@"             re-runs the script on a virtual display when there is none
#   wine_prefix_setup <dir> [32|64]      fresh private prefix of that kind (default: the
#                                        host's choice), copied from a template; defines `wine`
#   wine_prefix_end                      ends every process of that prefix
#   kit_prefix_setup <dir> [32|64]       the same, with the drive the kit's drive-root
#                                        cases use under Wine (Q:)
#   run_kit <kit folder> [arguments...]  cmd /c run-tests.cmd there, as a Windows user
#                                        starts it: nothing of Linux's environment
#                                        but what Wine and the display need, and a
#                                        UTF-8 locale, in which Wine names files
# The caller must already have a display (DISPLAY set): a wine server that
# starts without one never shows windows.
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-arch.sh"

WINE_TEMPLATE_VERSION=2  # bump when the template's settings change

ensure_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    command -v xvfb-run >/dev/null || { echo "error: no display and no xvfb-run: run 'make deps'." >&2; exit 1; }
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
}

# Debian's wine wrapper runs the 32-bit loader whenever it is installed, even
# where it cannot run; a 64-bit prefix is driven by wine64 itself, which
# also runs 32-bit programs there, as 64-bit Windows does.
wine() { "$WINELOADER" "$@"; }

wine_prefix_setup() {
    local prefix=$1 arch=${2:-$TOLVARINE_WINE_ARCH} template="$1.template" log="$1.setup.log"
    # No Mono or Gecko prompts; no menu entries in the host's home for the
    # shortcuts a package installs.
    export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    if [ "$arch" = 64 ]; then
        export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
    else
        export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine
    fi
    if [ ! -x "$WINELOADER" ]; then
        echo "error: $WINELOADER is missing: the $arch-bit Wine is not installed. Run 'make deps'." >&2
        exit 1
    fi
    if [ "$(cat "$template/.tolvarine-template" 2>/dev/null)" != "$WINE_TEMPLATE_VERSION $arch" ]; then
        rm -rf "$template"
        local code=0
        WINEPREFIX="$template" wine wineboot -i >"$log" 2>&1 || code=$?
        WINEPREFIX="$template" wineserver -w 2>/dev/null || true
        if [ "$code" -ne 0 ] || [ ! -d "$template/drive_c/windows" ]; then
            echo "error: cannot set up a $arch-bit Wine prefix in $template: wineboot ended with code $code." >&2
            if [ "$code" -eq 126 ] && [ "$arch" = 32 ]; then
                echo "error: this host runs no 32-bit x86 code; unset TOLVARINE_WINE_ARCH (or set it to 64)" \
                     "to run 64-bit builds under wine64." >&2
            else
                tail -5 "$log" | sed 's/^/error:   /' >&2
                echo "error: full output in $log; 'make deps' installs Wine." >&2
            fi
            exit 1
        fi
        # No window manager here: unmanaged windows avoid a 2 s stall on every hide.
        WINEPREFIX="$template" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        # A crash ends the process instead of opening a debugger dialog that waits forever.
        WINEPREFIX="$template" wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        WINEPREFIX="$template" wineserver -w
        # Title bars draw their buttons with Marlett, which Debian's Wine does not find by itself.
        cp /usr/share/wine/fonts/marlett.ttf "$template/drive_c/windows/Fonts/" 2>/dev/null ||
            echo "note: no Marlett font (package fonts-wine): title bar buttons show as letters" >&2
        echo "$WINE_TEMPLATE_VERSION $arch" >"$template/.tolvarine-template"
    fi
    rm -rf "$prefix"
    cp -a "$template" "$prefix"
    # A persistent server: short wine calls then return at once.
    wineserver -p
}

wine_prefix_end() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}

kit_prefix_setup() {
    wine_prefix_setup "$@"
    # Wine defines drives with DefineDosDevice but cannot open files through
    # them; the kit then uses this Q:, an empty folder.
    rm -rf "$1.q-drive" && mkdir -p "$1.q-drive"
    ln -sfn "$1.q-drive" "$WINEPREFIX/dosdevices/q:"
}

run_kit() {
    local kit=$1
    shift
    (cd "$kit" && env -i HOME="$HOME" PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" ${XAUTHORITY:+XAUTHORITY="$XAUTHORITY"} \
        WINEPREFIX="$WINEPREFIX" WINEDEBUG="$WINEDEBUG" WINEDLLOVERRIDES="$WINEDLLOVERRIDES" WINEARCH="$WINEARCH" \
        "$WINELOADER" cmd /c run-tests.cmd "$@")
}

# Windows form of a Linux path (Wine maps Z: to /).
wine_path() { printf 'Z:%s' "$(realpath -m "$1" | tr / '\\')"; }

choose_wine_arch || exit 1
