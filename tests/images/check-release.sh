#!/usr/bin/env bash
# Two release builds from different folders at different times, the second
# signed with a throwaway code-signing certificate: the unsigned images must
# be byte-identical, and the signature must verify, break on any change and
# come off to give back exactly those bytes. Prints "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
base=$root/build/release-check
keys=$(mktemp -d)  # the throwaway key stays out of build/
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

# A certificate authority and a code-signing certificate issued by it.
(
    cd "$keys" &&
    openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=Throwaway Test CA" \
        -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" &&
    openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Tolvarine Test Signer" &&
    printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >signer.ext &&
    openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 1 -extfile signer.ext -out signer.pem &&
    printf 'correct horse\n' >password && printf 'wrong horse\n' >wrong-password &&
    openssl pkcs12 -export -in signer.pem -inkey signer.key -certfile ca.pem -passout file:password -out signer.pfx
) >"$keys/openssl.log" 2>&1 || { cat "$keys/openssl.log"; echo "0 passed, 1 failed"; exit 1; }

unsigned=$base/first/out
signed=$base/second/out
"$root/scripts/dist.sh" "$unsigned" "$base/first/work" >/dev/null || { echo "0 passed, 1 failed"; exit 1; }
sleep 2  # a different second, so any timestamp would differ
SIGN_PFX=$keys/signer.pfx SIGN_PASSWORD_FILE=$keys/password \
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
check "SHA256SUMS lists the signed images" eval "cd '$signed' && sha256sum -c SHA256SUMS"

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
    [ $? -ne 0 ] && grep -q "with a timestamp from http://127.0.0.1:1" "$base/late.log"
}
check "a failed timestamp fails, says so, and leaves no release folder" \
    eval 'late_failure "$base/late/out" && [ ! -e "$base/late/out" ]'
cp -a "$signed" "$base/signed-before"
check "a failed timestamp leaves an earlier release whole" \
    eval 'late_failure "$signed" && diff -r "$base/signed-before" "$signed" && [ ! -e "$signed.previous" ]'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
