#!/usr/bin/env bash
# Installs what the builds and tests need on Debian 12, when it is missing:
# the 32-bit Wine where this host runs 32-bit code, and wine64 and both
# cross compilers everywhere (the 64-bit prefix, the other machine's stand-in);
# python3 runs the release checks' time-stamping authority and the
# documentation's link check; zip packs the test kits.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-arch.sh"
choose_wine_arch

# Both cross compilers everywhere: the tests read a stand-in built for the
# other machine than the programs under test.
packages=(cmake make g++ g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
          googletest wine wine64 fonts-wine xvfb xauth x11-utils icoutils imagemagick osslsigncode openssl
          wixl msitools gnutls-bin libengine-pkcs11-openssl softhsm2 python3 zip)
[ "$TOLVARINE_WINE_ARCH" = 32 ] && packages+=(wine32:i386)

missing=()
for package in "${packages[@]}"; do
    if [ "$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)" != "install ok installed" ]; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "error: need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
fi
if [[ " ${missing[*]} " == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${as_root[@]}" dpkg --add-architecture i386
fi
# A mirror caught mid-sync fails one index; the lists it has may still do.
"${as_root[@]}" apt-get update -qq || echo "note: apt-get update failed in part; installing from the lists it has" >&2
log=$root/build/install-deps.log
mkdir -p "$root/build"
install() { DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "$@" >"$log" 2>&1; }
if ! install "${missing[@]}"; then
    # Without the 32-bit Wine (its i386 libraries out of step with the
    # host's on the mirror, say) the same tests run as 64-bit builds under
    # wine64; wine-arch.sh then chooses them until 'make clean'.
    reason=$(grep -m1 '^E:' "$log" || true)
    rest=()
    for package in "${missing[@]}"; do [ "$package" = wine32:i386 ] || rest+=("$package"); done
    if [ ${#rest[@]} -lt ${#missing[@]} ] && install ${rest[@]+"${rest[@]}"}; then
        echo "the 32-bit Wine could not be installed (apt-get said: ${reason#E: })" >"$WINE32_UNAVAILABLE"
        echo "note: $(cat "$WINE32_UNAVAILABLE"); the Windows tests run as 64-bit builds under wine64" >&2
        exit 0
    fi
    tail -20 "$log" >&2
    echo "error: apt-get could not install: ${missing[*]} (full output in build/install-deps.log)" >&2
    exit 1
fi
