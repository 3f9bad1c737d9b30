#!/usr/bin/env bash
# Two release builds from different folders at different times, the second
# signed with a throwaway code-signing certificate and holding the package:
# the unsigned images must be byte-identical, and the signature must verify,
# break on any change and come off to give back exactly those bytes. Then
# the package is installed, upgraded, refused and removed by Wine's msiexec.
# The releases are built from the working tree as it is, committed or not.
# Prints "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/wine/prefix.sh"
ensure_display "$0" "$@"
base=$root/build/release-check
keys=$(mktemp -d)  # the throwaway key stays out of build/
pin=$((RANDOM * 32768 + RANDOM + 100000000))  # a PIN found nowhere else
trap 'rm -rf "$keys"' EXIT
export DIST_FROM=worktree
rm -rf "$base"
passed=0
failed=0

check() {  # check <description> <command...>, in a subshell: an exit in it fails only that check
    if ("${@:2}") >/dev/null 2>&1; then
        passed=$((passed + 1)); echo "ok    $1"
    else
        failed=$((failed + 1)); echo "FAIL  $1"
    fi
}

# A certificate authority and a code-signing certificate issued by it, its
# key in a .pfx (whose password file has Windows line ends), in one without
# the key, and on a SoftHSM token; a certificate of another key; a
# time-stamping authority's certificate.
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
    cat signer.pem ca.pem >chain.pem &&
    for name in other tsa; do
        openssl req -newkey rsa:2048 -nodes -keyout $name.key -out $name.csr -subj "/CN=Throwaway $name" || exit 1
    done &&
    openssl x509 -req -in other.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 1 -extfile signer.ext -out other.pem &&
    printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=critical,timeStamping\n' >tsa.ext &&
    openssl x509 -req -in tsa.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 1 -extfile tsa.ext -out tsa.pem &&
    printf '[tsa]\ndefault_tsa = t\n[t]\nserial = %s/tsa.serial\nsigner_digest = sha256\ndefault_policy = 1.2.3.4\ndigests = sha256\n' \
        "$keys" >tsa.cnf
) >"$keys/openssl.log" 2>&1 || { cat "$keys/openssl.log"; echo "0 passed, 1 failed"; exit 1; }
# RFC 3161 time stamps from openssl ts behind an HTTP listener on 127.0.0.1, for this run only.
tsa_port=$((20000 + RANDOM % 20000))
timeout 1800 python3 "$root/tests/images/tsa.py" "$keys" "$tsa_port" >"$keys/tsa.log" 2>&1 &
tsa=$!
for _ in $(seq 100); do (: >"/dev/tcp/127.0.0.1/$tsa_port") 2>/dev/null && break; sleep 0.1; done
trap 'kill $tsa; rm -rf "$keys"' EXIT
# Each command line of the signing tools, recorded: no secret may be on one.
mkdir -p "$keys/shim"
for tool in osslsigncode openssl p11tool pkcs11-tool; do
    real=$(command -v $tool) || continue
    printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s/command-lines"\nexec "%s" "$@"\n' "$keys" "$real" >"$keys/shim/$tool"
    chmod +x "$keys/shim/$tool"
done
export PATH=$keys/shim:$PATH
mkdir -p "$base"
printf 'application 1.2.3\r\n' >"$base/app-1.2.3.mde"
printf 'application 1.2.4, longer\r\n' >"$base/app-1.2.4.mde"

unsigned=$base/first/out
signed=$base/second/out
# A build that fails here fails the run by name, its output kept.
built_or_stop() { "$@" >"$base/build.log" 2>&1 || { tail "$base/build.log"; echo "FAIL  $build_name"; echo "0 passed, 1 failed"; exit 1; }; }
VERSION=1.2.3 build_name="the unsigned release builds" built_or_stop "$root/scripts/dist.sh" "$unsigned" "$base/first/work"
sleep 2  # a different second, so any timestamp would differ
MDE=$base/app-1.2.3.mde VERSION=1.2.3 SIGN_PFX=$keys/signer.pfx SIGN_PASSWORD_FILE=$keys/password \
    SIGN_TIMESTAMP_URL=http://127.0.0.1:$tsa_port build_name="the signed release, time-stamped at a local RFC 3161 authority, builds" \
    built_or_stop "$root/scripts/dist.sh" "$signed" "$base/another/deeper/work"

verifies() { osslsigncode verify -CAfile "$keys/ca.pem" -in "$1"; }
timestamped() {
    osslsigncode verify -CAfile "$keys/ca.pem" -TSA-CAfile "$keys/ca.pem" -in "$1" | grep -qx "Timestamp Server Signature verification: ok"
}
flipped_fails() {
    cp "$1" "$base/flipped.exe"
    printf '\xff' | dd of="$base/flipped.exe" bs=1 seek=4096 conv=notrunc status=none
    ! verifies "$base/flipped.exe"
}
unsigned_again() {
    rm -f "$base/unsigned-again.exe"
    osslsigncode remove-signature -in "$1" -out "$base/unsigned-again.exe" && cmp "$base/unsigned-again.exe" "$2"
}
for name in TolvarineLauncher.exe ManualLaunch.exe TolvarineCheck.exe; do
    check "$name is byte-identical across builds" \
        grep -qx "$(sha256sum "$unsigned/$name" | cut -d' ' -f1)  $name" "$signed/UNSIGNED-SHA256SUMS"
    check "$name holds no build path" eval "! grep -qaF '$base' '$unsigned/$name'"
    check "signed $name verifies against its certificate authority" verifies "$signed/$name"
    check "signed $name with one byte changed fails verification" flipped_fails "$signed/$name"
    check "signed $name less its signature is the unsigned image" unsigned_again "$signed/$name" "$unsigned/$name"
done
check "SHA256SUMS lists the signed images and packages" eval "cd '$signed' && sha256sum -c SHA256SUMS | grep -c OK | grep -qx 5"
check "signed package verifies against its certificate authority" verifies "$signed/Tolvarine-1.2.3.msi"
check "the images and the packages carry an RFC 3161 time stamp that verifies" eval 'for f in TolvarineLauncher.exe \
    ManualLaunch.exe TolvarineCheck.exe Tolvarine{,Check}-1.2.3.msi; do timestamped "$signed/$f" || exit 1; done'
property() { . "$root/scripts/package.sh" && package_property "$@"; }
check "make dist prints the file version a detection rule compares with, and each package's UpgradeCode and ProductCode" \
    eval 'grep -qx "Detect this release by TolvarineLauncher.exe.s file version 1.2.3.0, greater than or equal to." "$base/build.log" &&
          grep -qF "{23A425E9-3992-47DE-A268-5E52E2DA4A36}" "$base/build.log" && [ "$(grep -o "{.*}" "$base/build.log" | sort)" = \
          "$(for m in "$signed"/*.msi; do property "$m" UpgradeCode; property "$m" ProductCode; done | sort)" ]'
upgrade_code_as_documented() {  # the property as the Upgrade table has it, in upper case
    local code; code=$(property "$1" UpgradeCode)
    [ "$code" = "$(msiinfo export "$1" Upgrade | tr -d '\r' | tail -n +4 | cut -f1 | sort -u)" ] &&
        grep -qxE '\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\}' <<<"$code"
}
check "each package is per user (word count 10), its UpgradeCode in upper case as in its Upgrade table" eval 'for f in \
    "$signed"/*.msi; do upgrade_code_as_documented "$f" && msiinfo suminfo "$f" | grep -q "^Source: 10 (a)" || exit 1; done'
check "without MDE there is no package" eval "! ls '$unsigned' | grep -q msi"
# The version in the fixed file information, its strings and the manifest;
# and in the package's File table.
carries_version() {  # <image> <version>
    local strings
    strings=$(wrestool -x --raw --type=16 "$1" | iconv -f UTF-16LE -t UTF-8 | tr -c '[:print:]' '\n' | grep -v '^$')
    [ "$(. "$root/scripts/package.sh" && image_file_version "$1")" = "$2.0" ] &&
        grep -A1 -x FileVersion <<<"$strings" | grep -qx "$2" && grep -A1 -x ProductVersion <<<"$strings" | grep -qx "$2" &&
        wrestool -x --raw --type=24 "$1" | grep -q "name=\"Tolvarine\.[A-Za-z]*\" version=\"$2\.0\""
}
release_carries_1_2_3() {
    local f
    for f in TolvarineLauncher.exe ManualLaunch.exe TolvarineCheck.exe; do
        carries_version "$unsigned/$f" 1.2.3 && carries_version "$signed/$f" 1.2.3 || return 1
    done
    [ "$(msiinfo export "$signed/Tolvarine-1.2.3.msi" File | tr -d '\r' | awk -F '\t' '$1 ~ /\.exe$/ { print $5 }' |
         sort -u)" = 1.2.3.0 ]
}
check "every image of a VERSION=1.2.3 release carries 1.2.3, signed or not, as the package's File table does" \
    release_carries_1_2_3

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
token_dist() {  # <PIN file> <out> [certificate]
    MDE=$base/app-1.2.3.mde VERSION=1.2.3 SIGN_PKCS11_MODULE=/usr/lib/softhsm/libsofthsm2.so SIGN_CERT=${3:-$keys/chain.pem} \
        SIGN_PKCS11_KEY='pkcs11:token=Test%20Token;object=signer' SIGN_PIN_FILE=$1 \
        "$root/scripts/dist.sh" "$2" "$base/token/work" >"$base/token.log" 2>&1
}
token=$base/token/out
check "a token signs the images and the packages, each verifying" eval 'token_dist "$keys/pin" "$token" &&
    for f in TolvarineLauncher.exe ManualLaunch.exe TolvarineCheck.exe Tolvarine{,Check}-1.2.3.msi; do verifies "$token/$f" || exit 1; done'
check "less its signature each token-signed image is the reproducible one" eval 'unsigned_again "$token/TolvarineLauncher.exe" \
    "$unsigned/TolvarineLauncher.exe" && unsigned_again "$token/ManualLaunch.exe" "$unsigned/ManualLaunch.exe"'
check "a wrong PIN is named and keeps the earlier release" eval '! token_dist "$keys/wrong-pin" "$signed" &&
    grep -q "the PIN in .*wrong-pin does not open token .Test Token." "$base/token.log" && diff -r "$base/signed-before" "$signed"'
check "a certificate of another key is named and keeps the earlier release" eval '! token_dist "$keys/pin" "$signed" \
    "$keys/other.pem" && grep -q "is not the one of key" "$base/token.log" && diff -r "$base/signed-before" "$signed"'
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
check "a build number past 65535 is refused" refused "out of Windows Installer's range" "$base/app-1.2.3.mde" 1.0.65536
check "VERSION=1.010.0 is read in decimal, as 1.10.0" eval '(. "$root/scripts/package.sh" && MDE=$base/app-1.2.3.mde \
    VERSION=1.010.0 && check_package_inputs && [ "$package_version" = 1.10.0 ])'
mkdir -p "$base/odd-source/installer" "$base/odd-source/window" && cp "$root/window/tolvarine.ico" "$base/odd-source/window/" &&
    sed 's/<Package /<Package NoSuchAttribute="1" /' "$root/installer/tolvarine.wxs" >"$base/odd-source/installer/tolvarine.wxs"
check "an attribute wixl does not know fails the package, its warning shown" eval '! (. "$root/scripts/package.sh" &&
    MDE=$base/app-1.2.3.mde package_version=1.2.3 && build_package "$unsigned/TolvarineLauncher.exe" "$base/odd-source" \
    "$base/odd/Tolvarine.msi") >"$base/odd.log" 2>&1 && grep -q "NoSuchAttribute" "$base/odd.log" && [ ! -e "$base/odd/Tolvarine.msi" ]'
# A failed step fails the command with its status, shows the log's tail and path, and runs nothing after it.
printf '#!/bin/sh\necho "cmake failing on purpose"; exit 3\n' >"$keys/cmake" && chmod +x "$keys/cmake"
check "a failed build step stops make demo and make dist, naming its log" eval '! PATH=$keys:$PATH make -C "$root" demo \
    >"$base/demo.log" 2>&1 && grep -q "(exit code 3); the whole output is in build/demo-build.log" "$base/demo.log" &&
    ! grep -q "Launch of" "$base/demo.log" && ! PATH=$keys:$PATH "$root/scripts/dist.sh" "$base/failed/out" "$base/failed/work" \
    2>"$base/failed.log" && grep -q "on purpose" "$base/failed.log" && grep -qF "$base/failed/work.log" "$base/failed.log" &&
    [ ! -e "$base/failed/out" ]'

# A second release over an earlier one replaces it whole.
replaced() {
    MDE=$base/app-1.2.4.mde VERSION=1.2.4 "$root/scripts/dist.sh" "$unsigned" "$base/first/work" &&
        [ "$(ls "$unsigned" | tr '\n' ' ')" = "ManualLaunch.exe SHA256SUMS Tolvarine-1.2.4.msi TolvarineCheck-1.2.4.msi TolvarineCheck.exe TolvarineLauncher.exe " ] &&
        (cd "$unsigned" && sha256sum -c --quiet SHA256SUMS) && [ ! -e "$unsigned.previous" ]
}
check "a second release replaces the first whole" replaced

wine_prefix_setup "$root/build/wineprefix-package" >/dev/null
trap 'wine_prefix_end; kill $tsa; rm -rf "$keys"' EXIT
msiexec() { wine msiexec "$@" /qn >/dev/null 2>&1; }
v3=$(wine_path "$signed/Tolvarine-1.2.3.msi") v4=$(wine_path "$unsigned/Tolvarine-1.2.4.msi")
profile=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)
folder=$profile/AppData/Local/Programs/Tolvarine
link="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tolvarine.lnk"
desktop=$profile/Desktop/Tolvarine.lnk
rm -f "$profile/Desktop" && mkdir -p "$profile/Desktop"  # the prefix's own, not a link to the host's home
installed() {  # installed <folder> <launcher, the check beside it> <mde>
    cmp -s "$1/TolvarineLauncher.exe" "$2" && cmp -s "$1/TolvarineCheck.exe" "$(dirname "$2")/TolvarineCheck.exe" &&
        cmp -s "$1/Tolvarine.mde" "$3"
}
check "install: launcher, check and application in the local programs folder" \
    eval 'msiexec /i "$v3" && installed "$folder" "$signed/TolvarineLauncher.exe" "$base/app-1.2.3.mde"'
check "install: the Start-menu shortcut starts the launcher there, and no desktop shortcut" \
    eval 'strings -a "$link" | grep -q "Programs\\\\Tolvarine\\\\TolvarineLauncher.exe$" && [ ! -e "$desktop" ]'
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
    check "the installed check, run from the install folder, says the same" \
        eval 'wine "${windows_folder}TolvarineCheck.exe" | head -1 | grep -qF "ready: Access 16 (32-bit) opens .mde files; the launcher makes this folder a trusted location"'
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

# A rebuild of the same version with another front end replaces the installed one.
products() { wine reg query 'HKCU\Software\Microsoft\Installer\Products' 2>/dev/null | grep -c 'Products\\.'; }
printf 'application 1.2.4, rebuilt\r\n' >"$base/app-1.2.4-rebuilt.mde"
mkdir -p "$base/rebuilt" && (. "$root/scripts/package.sh" && MDE=$base/app-1.2.4-rebuilt.mde package_version=1.2.4 &&
    build_package "$unsigned/TolvarineLauncher.exe" "$root" "$base/rebuilt/Tolvarine-1.2.4.msi") >"$base/rebuilt.log" 2>&1
v4b=$(wine_path "$base/rebuilt/Tolvarine-1.2.4.msi")
check "a rebuild of the same version replaces it: one product, the new front end; none after its uninstall" \
    eval 'msiexec /i "$v4" && msiexec /i "$v4b" && [ "$(products)" = 1 ] &&
          installed "$folder" "$unsigned/TolvarineLauncher.exe" "$base/app-1.2.4-rebuilt.mde" && msiexec /x "$v4b" && [ "$(products)" = 0 ]'

# The guide's command lines as it prints them, run by cmd with a release's packages for the example's:
# each, with a newer release over an earlier install, must keep everything the user had.
install='msiexec /i "Tolvarine-1.4.0.msi" /qn /norestart'
desktop_shortcut='msiexec /i "Tolvarine-1.4.0.msi" /qn /norestart DESKTOP_SHORTCUT=1'
trial='start /wait "" msiexec /i "Tolvarine-1.4.0.msi" /qn /norestart'
check_alone='msiexec /i "TolvarineCheck-1.4.0.msi" /qn /norestart'
repair='msiexec /i "Tolvarine-1.4.0.msi" /qn /norestart REINSTALL=ALL REINSTALLMODE=omus'
uninstall='msiexec /x {ProductCode} /qn /norestart'
drop_shortcut="$install DESKTOP_SHORTCUT=0"  # the guide's words for an update that drops the desktop shortcut
check "the guide prints the command lines run here, each as one line" eval 'for line in "$install" "$desktop_shortcut" \
    "$trial" "$check_alone" "$repair" "$uninstall"; do grep -qxF "    $line" "$root/docs/administrators.md" || exit 1; done'
run_guide() {  # <release folder> <version> <command line>
    local line=${3//TolvarineCheck-1.4.0.msi/$(wine_path "$1/TolvarineCheck-$2.msi")}
    line=${line//Tolvarine-1.4.0.msi/$(wine_path "$1/Tolvarine-$2.msi")}
    line=${line//'{ProductCode}'/$(property "$1/Tolvarine-$2.msi" ProductCode)}
    printf '%s\r\n' "$line" >"$base/guide.cmd" && wine cmd /c "$(wine_path "$base/guide.cmd")" >/dev/null 2>&1
}
check_folder="$profile/AppData/Local/Programs/Tolvarine Check"
kept() {  # <earlier> <newer> <desktop shortcut after: yes or no>; the application as the last package for it left it
    run_guide "$signed" 1.2.3 "${!1}" && run_guide "$unsigned" 1.2.4 "${!2}" && if [ "$2" = check_alone ]; then
        installed "$folder" "$signed/TolvarineLauncher.exe" "$base/app-1.2.3.mde" && cmp -s "$check_folder/TolvarineCheck.exe" "$unsigned/TolvarineCheck.exe"
    else installed "$folder" "$unsigned/TolvarineLauncher.exe" "$base/app-1.2.4.mde"; fi && [ -e "$link" ] && [ "$([ -e "$desktop" ] && echo yes || echo no)" = "$3" ]
}
for update in "install install no" "desktop_shortcut install yes" "trial trial no" "install check_alone no" "check_alone install no" "desktop_shortcut check_alone yes" \
              "desktop_shortcut drop_shortcut no"; do
    read -r earlier newer shortcut <<<"$update"
    check "update: the guide's $newer over its $earlier keeps launcher, check, application, Start menu, desktop shortcut: $shortcut" \
        eval 'kept $earlier $newer $shortcut; ok=$?; for m in "$signed"/*.msi "$unsigned"/*.msi; do msiexec /x "$(wine_path "$m")"; done
              [ $ok -eq 0 ] && [ ! -e "$folder" ] && [ ! -e "$check_folder" ] && [ ! -e "$link" ] && [ ! -e "$desktop" ]'
done
check "the guide's repair puts a removed Tolvarine.mde back, and its uninstall by ProductCode removes the release" \
    eval 'run_guide "$signed" 1.2.3 "$install" && rm "$folder/Tolvarine.mde" && run_guide "$signed" 1.2.3 "$repair" && installed \
          "$folder" "$signed/TolvarineLauncher.exe" "$base/app-1.2.3.mde" && run_guide "$signed" 1.2.3 "$uninstall" && [ "$(products)" = 0 ]'

# The rules Windows validates a per-user package by, read from its tables.
per_user_tables() {  # <msi> <image> <secure properties...>
    local t=$base/tables name
    mkdir -p "$t"
    for name in Registry Component Directory RemoveFile File MsiFileHash Property; do
        msiinfo export "$1" $name 2>/dev/null | tr -d '\r' | tail -n +4 >"$t/$name"
    done
    awk -F '\t' 'FNR == 1 { f++ } f == 1 { if ($2 != 1) bad = 1; owner[$1] = $6 } f == 2 && owner[$6] != $1 { bad = 1 }
        END { exit bad }' "$t/Registry" "$t/Component" &&
    awk -F '\t' 'FNR == 1 { f++ } f == 1 { parent[$1] = $2 } f == 2 && $3 == "" { removed[$4] = 1 }
        END { for (d in parent) { p = parent[d]; while (p != "" && p != "LocalAppDataFolder") p = parent[p]
                                  if (p != "" && !removed[d]) exit 1 } }' "$t/Directory" "$t/RemoveFile" &&
    ! cut -f1 "$t/Directory" | grep -qE '^(ProgramFiles|CommonFiles|CommonAppData|System|Windows)' &&
    ! cut -f1 "$t/Property" | grep -qx ALLUSERS &&
    [ "$(awk -F '\t' '$1 ~ /^Tolvarine(Launcher|Check)\.exe$/ { print $5 }' "$t/File" | sort -u)" = "$(
        . "$root/scripts/package.sh" && image_file_version "$2")" ] &&
    ! cut -f1 "$t/MsiFileHash" | grep -qxE 'Tolvarine(Launcher|Check)\.exe' && { ! grep -q ^Tolvarine.mde "$t/File" || grep -q ^Tolvarine.mde "$t/MsiFileHash"; } &&
    grep -qxP 'MSIRESTARTMANAGERCONTROL\tDisable' "$t/Property" && grep -qxP 'REBOOT\tReallySuppress' "$t/Property" &&
    for name in "${@:3}"; do grep -qP "^SecureCustomProperties\t(.*;)?$name(;|$)" "$t/Property" || return 1; done
}
check "the packages' tables keep the per-user rules, the images versioned, no Restart Manager, no restart, the choices secure" \
    eval 'per_user_tables "$signed/Tolvarine-1.2.3.msi" "$signed/TolvarineLauncher.exe" INSTALLFOLDER DESKTOP_SHORTCUT \
          REMEMBERED_DESKTOP_SHORTCUT && per_user_tables "$signed/TolvarineCheck-1.2.3.msi" "$signed/TolvarineCheck.exe"'
check "a package from images signed elsewhere gets the same tables; images of another version, or only a check of another, are refused" \
    eval 'MDE=$base/app-1.2.3.mde VERSION=1.2.3 "$root/scripts/package-signed.sh" "$signed" "$base/elsewhere" >/dev/null &&
          per_user_tables "$base/elsewhere/Tolvarine-1.2.3.msi" "$signed/TolvarineLauncher.exe" INSTALLFOLDER &&
          per_user_tables "$base/elsewhere/TolvarineCheck-1.2.3.msi" "$signed/TolvarineCheck.exe" &&
          ! MDE=$base/app-1.2.3.mde VERSION=1.2.3 "$root/scripts/package-signed.sh" "$unsigned" "$base/other" 2>/dev/null &&
          mkdir -p "$base/mixed" && cp "$signed/TolvarineLauncher.exe" "$base/mixed/" && cp "$unsigned/TolvarineCheck.exe" "$base/mixed/" &&
          ! MDE=$base/app-1.2.3.mde VERSION=1.2.3 "$root/scripts/package-signed.sh" "$base/mixed" 2>/dev/null'
check "no password or PIN on any command line of the signing tools" \
    eval '[ -s "$keys/command-lines" ] && ! grep -qF -e "correct horse" -e "wrong horse" -e "$pin" "$keys/command-lines"'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
