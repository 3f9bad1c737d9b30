#!/usr/bin/env bash
# Two release builds from different folders at different times, the second
# signed with a throwaway code-signing certificate and holding the package:
# the unsigned images must be byte-identical, and the signature must verify,
# break on any change and come off to give back exactly those bytes. Then
# the package is installed, upgraded, refused and removed by Wine's msiexec.
# Prints "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/wine/prefix.sh"
ensure_display "$0" "$@"
base=$root/build/release-check
keys=$(mktemp -d)  # the throwaway key stays out of build/
pin=$((RANDOM * 32768 + RANDOM + 100000000))  # a PIN found nowhere else
trap 'rm -rf "$keys"' EXIT
rm -rf "$base"
passed=0
failed=0

check() {  # check <description> <command...>
    if "${@:2}" >/dev/null 2>&1; then
        passed=$((passed + 1)); echo "ok    $1"
    else
        failed=$((failed + 1)); echo "FAIL  $1"
    fi
}

# A certificate authority and a code-signing certificate issued by it, its
# key in a .pfx (whose password file has Windows line ends), in one without
# the key, and on a SoftHSM token.
(
    cd "$keys" &&
    openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=Throwaway Test CA" \
        -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" &&
    openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Tolvarine Test Signer" &&
    printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >signer.ext &&
    openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 1 -extfile signer.ext -out signer.pem &&
    printf 'correct horse\r\n' >password && printf 'wrong horse\n' >wrong-password &&
    openssl pkcs12 -export -in signer.pem -inkey signer.key -certfile ca.pem -passout pass:'correct horse' -out signer.pfx &&
    openssl pkcs12 -export -nokeys -in signer.pem -passout pass:'correct horse' -out no-key.pfx &&
    printf 'directories.tokendir = %s\n' "$keys" >softhsm2.conf && printf '%s\r\n' "$pin" >pin && printf '0000\n' >wrong-pin &&
    SOFTHSM2_CONF=softhsm2.conf softhsm2-util --init-token --free --label "Test Token" --pin "$pin" --so-pin "$pin" &&
    SOFTHSM2_CONF=softhsm2.conf softhsm2-util --import signer.key --token "Test Token" --label signer --id 01 --pin "$pin" &&
    cat signer.pem ca.pem >chain.pem
) >"$keys/openssl.log" 2>&1 || { cat "$keys/openssl.log"; echo "0 passed, 1 failed"; exit 1; }
mkdir -p "$base"
printf 'application 1.2.3\r\n' >"$base/app-1.2.3.mde"
printf 'application 1.2.4, longer\r\n' >"$base/app-1.2.4.mde"

unsigned=$base/first/out
signed=$base/second/out
"$root/scripts/dist.sh" "$unsigned" "$base/first/work" >/dev/null || { echo "0 passed, 1 failed"; exit 1; }
sleep 2  # a different second, so any timestamp would differ
MDE=$base/app-1.2.3.mde VERSION=1.2.3 SIGN_PFX=$keys/signer.pfx SIGN_PASSWORD_FILE=$keys/password \
    "$root/scripts/dist.sh" "$signed" "$base/another/deeper/work" >/dev/null || { echo "0 passed, 1 failed"; exit 1; }

verifies() { osslsigncode verify -CAfile "$keys/ca.pem" -in "$1"; }
flipped_fails() {
    cp "$1" "$base/flipped.exe"
    printf '\xff' | dd of="$base/flipped.exe" bs=1 seek=4096 conv=notrunc status=none
    ! verifies "$base/flipped.exe"
}
unsigned_again() {
    rm -f "$base/unsigned-again.exe"
    osslsigncode remove-signature -in "$1" -out "$base/unsigned-again.exe" && cmp "$base/unsigned-again.exe" "$2"
}
for name in TolvarineLauncher.exe ManualLaunch.exe; do
    check "$name is byte-identical across builds" \
        grep -qx "$(sha256sum "$unsigned/$name" | cut -d' ' -f1)  $name" "$signed/UNSIGNED-SHA256SUMS"
    check "$name holds no build path" eval "! grep -qaF '$base' '$unsigned/$name'"
    check "signed $name verifies against its certificate authority" verifies "$signed/$name"
    check "signed $name with one byte changed fails verification" flipped_fails "$signed/$name"
    check "signed $name less its signature is the unsigned image" unsigned_again "$signed/$name" "$unsigned/$name"
done
check "SHA256SUMS lists the signed images and package" eval "cd '$signed' && sha256sum -c SHA256SUMS | grep -c OK | grep -qx 3"
check "signed package verifies against its certificate authority" verifies "$signed/Tolvarine-1.2.3.msi"
check "the package is per user and needs no elevation (word count 10)" \
    eval "msiinfo suminfo '$signed/Tolvarine-1.2.3.msi' | tr -d '\r' | grep -qx 'Source: 10 (a)'"
check "without MDE there is no package" eval "! ls '$unsigned' | grep -q msi"

wrong_password() {
    SIGN_PFX=$keys/signer.pfx SIGN_PASSWORD_FILE=$keys/wrong-password \
        "$root/scripts/dist.sh" "$base/wrong/out" "$base/wrong/work" 2>"$base/wrong.log"
    [ $? -ne 0 ] && grep -q "does not open with the password" "$base/wrong.log" && [ ! -e "$base/wrong/out" ] &&
        ! grep -qF "wrong horse" "$base/wrong.log"
}
check "a wrong password fails, says so, and leaves no release folder" wrong_password

# Signing that fails after the build: no time-stamp server listens on port 1.
late_failure() {
    SIGN_PFX=$keys/signer.pfx SIGN_PASSWORD_FILE=$keys/password SIGN_TIMESTAMP_URL=http://127.0.0.1:1 \
        "$root/scripts/dist.sh" "$1" "$base/late/work" 2>"$base/late.log"
    [ $? -ne 0 ] && grep -qF "time-stamp server http://127.0.0.1:1 (SIGN_TIMESTAMP_URL)" "$base/late.log" &&
        ! grep -q -- ' -ts' "$base/late.log"
}
check "a failed timestamp fails, says so, and leaves no release folder" \
    eval 'late_failure "$base/late/out" && [ ! -e "$base/late/out" ]'
cp -a "$signed" "$base/signed-before"
check "a failed timestamp leaves an earlier release whole" \
    eval 'late_failure "$signed" && diff -r "$base/signed-before" "$signed" && [ ! -e "$signed.previous" ]'

check "a .pfx without its key is named as such" eval '! SIGN_PFX=$keys/no-key.pfx SIGN_PASSWORD_FILE=$keys/password \
    "$root/scripts/dist.sh" "$base/no-key/out" "$base/no-key/work" 2>"$base/no-key.log" &&
    grep -q "holds a certificate but no private key" "$base/no-key.log"'

# The PKCS#11 route: the same files signed with the token's key; a wrong PIN named, the release kept.
export SOFTHSM2_CONF=$keys/softhsm2.conf
token_dist() {  # <PIN file> <out>
    MDE=$base/app-1.2.3.mde VERSION=1.2.3 SIGN_PKCS11_MODULE=/usr/lib/softhsm/libsofthsm2.so SIGN_CERT=$keys/chain.pem \
        SIGN_PKCS11_KEY='pkcs11:token=Test%20Token;object=signer' SIGN_PIN_FILE=$1 \
        "$root/scripts/dist.sh" "$2" "$base/token/work" >"$base/token.log" 2>&1
}
token=$base/token/out
check "a token signs both images and the package, each verifying" eval 'token_dist "$keys/pin" "$token" &&
    for f in TolvarineLauncher.exe ManualLaunch.exe Tolvarine-1.2.3.msi; do verifies "$token/$f" || exit 1; done'
check "less its signature each token-signed image is the reproducible one" eval 'unsigned_again "$token/TolvarineLauncher.exe" \
    "$unsigned/TolvarineLauncher.exe" && unsigned_again "$token/ManualLaunch.exe" "$unsigned/ManualLaunch.exe"'
check "a wrong PIN is named and keeps the earlier release" eval '! token_dist "$keys/wrong-pin" "$signed" &&
    grep -q "the PIN in .*wrong-pin does not open token .Test Token." "$base/token.log" && diff -r "$base/signed-before" "$signed"'
check "the PIN is nowhere under build/" eval '! grep -rqF "$pin" "$root/build" --exclude-dir="*prefix*"'

# Bad package inputs fail before any build, naming the problem, and keep the earlier release.
refused() {  # refused <message part> <MDE> <VERSION>
    MDE=$2 VERSION=$3 "$root/scripts/dist.sh" "$signed" "$base/refused/work" 2>"$base/refused.log"
    [ $? -ne 0 ] && grep -qF "$1" "$base/refused.log" && diff -r "$base/signed-before" "$signed" && [ ! -e "$base/refused" ]
}
check "MDE without VERSION is refused" refused "without VERSION" "$base/app-1.2.3.mde" ""
check "a VERSION of two numbers is refused" refused "not three numbers" "$base/app-1.2.3.mde" 1.2
check "a VERSION past 255 is refused" refused "out of Windows Installer's range" "$base/app-1.2.3.mde" 1.256.0
check "an MDE that is no file is refused" refused "is not a readable file" "$base/missing.mde" 1.0.0

# A second release over an earlier one replaces it whole.
replaced() {
    MDE=$base/app-1.2.4.mde VERSION=1.2.4 "$root/scripts/dist.sh" "$unsigned" "$base/first/work" &&
        [ "$(ls "$unsigned" | tr '\n' ' ')" = "ManualLaunch.exe SHA256SUMS Tolvarine-1.2.4.msi TolvarineLauncher.exe " ] &&
        (cd "$unsigned" && sha256sum -c --quiet SHA256SUMS) && [ ! -e "$unsigned.previous" ]
}
check "a second release replaces the first whole" replaced

wine_prefix_setup "$root/build/wineprefix-package" >/dev/null
trap 'wine_prefix_end; rm -rf "$keys"' EXIT
msiexec() { wine msiexec "$@" /qn >/dev/null 2>&1; }
v3=$(wine_path "$signed/Tolvarine-1.2.3.msi") v4=$(wine_path "$unsigned/Tolvarine-1.2.4.msi")
profile=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)
folder=$profile/AppData/Local/Programs/Tolvarine
link="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tolvarine.lnk"
installed() {  # installed <folder> <launcher> <mde>
    cmp -s "$1/TolvarineLauncher.exe" "$2" && cmp -s "$1/Tolvarine.mde" "$3"
}
check "install: launcher and application in the local programs folder" \
    eval 'msiexec /i "$v3" && installed "$folder" "$signed/TolvarineLauncher.exe" "$base/app-1.2.3.mde"'
check "install: the Start-menu shortcut starts the launcher there" \
    eval 'strings -a "$link" | grep -q "Programs\\\\Tolvarine\\\\TolvarineLauncher.exe$"'
if [ "$TOLVARINE_WINE_ARCH" = 32 ]; then  # what the package is for: a local folder Access 16 trusts
    mkdir -p "$WINEPREFIX/drive_c/Office16"
    cp "$root/build/windows/standin_access16.exe" "$WINEPREFIX/drive_c/Office16/MSACCESS.EXE"
    wine reg add 'HKCR\.mde' /ve /d TolvarineCheck.Database /f >/dev/null 2>&1
    wine reg add 'HKCR\TolvarineCheck.Database\shell\open\command' /ve /d '"C:\Office16\MSACCESS.EXE" "%1"' /f >/dev/null 2>&1
    export TOLVARINE_STANDIN_LOG TOLVARINE_STANDIN_DELAY_MS=0 TOLVARINE_STANDIN_LIFETIME_MS=2000
    TOLVARINE_STANDIN_LOG=$(wine_path "$base/launch.log")
    windows_folder="C:\\users\\$(basename "$profile")\\AppData\\Local\\Programs\\Tolvarine\\"
    check "the installed launcher makes its folder Access 16's trusted location" \
        eval 'wine "$root/build/windows/launch_observer.exe" "$TOLVARINE_STANDIN_LOG" 3 "${windows_folder}TolvarineLauncher.exe" &&
              grep -qF "trusted-location 16.0 $windows_folder" "$base/launch.log"'
fi
echo "written by Access since" >>"$folder/Tolvarine.mde"
check "upgrade: a higher version replaces the application, changed or not" \
    eval 'msiexec /i "$v4" && installed "$folder" "$unsigned/TolvarineLauncher.exe" "$base/app-1.2.4.mde"'
check "a lower version is refused and changes nothing" \
    eval '! msiexec /i "$v3" && installed "$folder" "$unsigned/TolvarineLauncher.exe" "$base/app-1.2.4.mde"'
: >"$folder/Tolvarine.ldb"
check "uninstall removes what it installed and keeps what it did not" \
    eval 'msiexec /x "$v4" && [ "$(ls "$folder")" = Tolvarine.ldb ] && [ ! -e "$link" ]'
rm -rf "$folder"
elsewhere=$WINEPREFIX/drive_c/Elsewhere/Tolvarine elsewhere_windows='C:\Elsewhere\Tolvarine\'
check "INSTALLFOLDER is remembered by the upgrade and the uninstall" \
    eval 'msiexec /i "$v3" "INSTALLFOLDER=$elsewhere_windows" && msiexec /i "$v4" &&
          installed "$elsewhere" "$unsigned/TolvarineLauncher.exe" "$base/app-1.2.4.mde" && [ ! -e "$folder" ] &&
          msiexec /x "$v4" && [ ! -e "$elsewhere" ]'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
