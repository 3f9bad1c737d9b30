# Sourced by the scripts that run Windows programs under Wine.
#   ensure_display "$0" "$@"         re-runs the script on a virtual display when there is none
#   wine_prefix_setup <prefix dir>   fresh private prefix, copied from a template
#   wine_prefix_end                  ends every process of that prefix
# The caller must already have a display (DISPLAY set): a wine server that
# starts without one never shows windows.

WINE_TEMPLATE_VERSION=1  # bump when the template's settings change

ensure_display() {
    [ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
}

wine_prefix_setup() {
    local prefix=$1 template="$1.template"
    export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win32
    if [ "$(cat "$template/.tolvarine-template" 2>/dev/null)" != "$WINE_TEMPLATE_VERSION" ]; then
        rm -rf "$template"
        WINEPREFIX="$template" wineboot -i >/dev/null 2>&1
        # No window manager here: unmanaged windows avoid a 2 s stall on every hide.
        WINEPREFIX="$template" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        # A crash ends the process instead of opening a debugger dialog that waits forever.
        WINEPREFIX="$template" wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        WINEPREFIX="$template" wineserver -w
        echo "$WINE_TEMPLATE_VERSION" >"$template/.tolvarine-template"
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

# Windows form of a Linux path (Wine maps Z: to /).
wine_path() { printf 'Z:%s' "$(realpath -m "$1" | tr / '\\')"; }
