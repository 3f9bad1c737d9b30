# Sourced by dist.sh: Authenticode signing of the release with the deployer's
# certificate, by one of two routes:
#   .pfx:     SIGN_PFX and SIGN_PASSWORD_FILE (the key is in the file)
#   PKCS#11:  SIGN_PKCS11_MODULE, SIGN_PKCS11_KEY (a pkcs11: URI), SIGN_CERT
#             (the certificate and its chain, PEM) and SIGN_PIN_FILE (the key
#             stays on a token or in an HSM)
# Keys, passwords and PINs are read where they are: a secret is read into a
# shell variable and handed to each tool on its standard input or in its
# environment, never on a command line, in a log or under build/.
#   check_signing_inputs   sets signing_route ("" when nothing is to be
#                          signed, pfx or pkcs11), or fails saying why: a
#                          route half given, or both; unreadable files; a
#                          certificate not valid now or not for code signing;
#                          a .pfx that does not open or holds no key; a module
#                          that does not load, a token, PIN or key not found
#   sign_image <in> <out> [description]
#                          signs with SHA-256, the description (by default
#                          the image's own) and, with SIGN_TIMESTAMP_URL, a
#                          countersigned RFC 3161 timestamp

signing_error() {
    echo "error: cannot sign: $*" >&2
    return 1
}

# The first line of a secret file, less its line end, Windows' (CR LF) too.
read_secret() {
    local line=""
    IFS= read -r line <"$1" || [ -n "$line" ] || true
    printf '%s' "${line%$'\r'}"
}

readable_or_fail() {  # <setting> <file>
    [ -f "$2" ] && [ -r "$2" ] || signing_error "cannot read the file $1=$2"
}

# openssl pkcs12 with the .pfx's password on its standard input; old .pfx
# files need OpenSSL's legacy algorithms.
pfx_read() {
    read_secret "$SIGN_PASSWORD_FILE" | openssl pkcs12 -in "$SIGN_PFX" -passin stdin "$@" 2>/dev/null ||
        read_secret "$SIGN_PASSWORD_FILE" | openssl pkcs12 -legacy -in "$SIGN_PFX" -passin stdin "$@" 2>/dev/null
}

# The signer's certificate: valid now and made for code signing. Sets signer.
check_certificate() {  # <PEM text> <where it came from>
    local certificate=$1 subject expires starts
    subject=$(openssl x509 -noout -subject -nameopt oneline <<<"$certificate") ||
        signing_error "$2 holds no certificate" || return 1
    expires=$(openssl x509 -noout -enddate <<<"$certificate")
    openssl x509 -noout -checkend 0 <<<"$certificate" >/dev/null ||
        signing_error "the certificate has expired (${expires#notAfter=}): $subject" || return 1
    starts=$(openssl x509 -noout -startdate <<<"$certificate")
    [ "$(date -d "${starts#notBefore=}" +%s)" -le "$(date +%s)" ] ||
        signing_error "the certificate is not valid yet (from ${starts#notBefore=}): $subject" || return 1
    openssl x509 -noout -ext extendedKeyUsage <<<"$certificate" 2>/dev/null | grep -q "Code Signing" ||
        signing_error "the certificate is not for code signing (its extended key usage lacks Code Signing): $subject" ||
        return 1
    signer="$subject ($expires)"
}

check_pfx_inputs() {
    readable_or_fail SIGN_PFX "$SIGN_PFX" && readable_or_fail SIGN_PASSWORD_FILE "$SIGN_PASSWORD_FILE" || return 1
    [ "$(pfx_read -nokeys | grep -c 'BEGIN CERTIFICATE')" -gt 0 ] ||
        signing_error "$SIGN_PFX does not open with the password in $SIGN_PASSWORD_FILE (wrong password, or not a .pfx file)" ||
        return 1
    # Counted, not shown: the key never leaves the pipe.
    [ "$(pfx_read -nocerts -nodes | grep -c 'PRIVATE KEY')" -gt 0 ] ||
        signing_error "$SIGN_PFX holds a certificate but no private key: export the .pfx again with its private key" ||
        return 1
    check_certificate "$(pfx_read -nokeys -clcerts)" "$SIGN_PFX"
}

# The name=value parts of a pkcs11: URI's path, one a line, as written.
uri_parts() {
    local rest=${1#pkcs11:}
    tr ';' '\n' <<<"${rest%%\?*}"
}

# One attribute of a pkcs11: URI, percent-decoded; fails when absent.
uri_attribute() {  # <uri> <name>
    local value
    value=$(uri_parts "$1" | grep "^$2=") || return 1
    value=${value%%$'\n'*}
    value=${value#*=}
    printf '%b' "${value//%/\\x}"
}

# The part of a key's URI that names its token.
token_uri_of() {
    printf 'pkcs11:%s' "$(uri_parts "$1" | grep -E '^(token|manufacturer|serial|model)=' | paste -sd';')"
}

# p11tool on the deployer's module only, logged in with the PIN from its file.
p11tool_logged_in() {
    GNUTLS_PIN=$(read_secret "$SIGN_PIN_FILE") p11tool --batch --provider "$SIGN_PKCS11_MODULE" --login "$@" </dev/null 2>&1
}

check_pkcs11_inputs() {
    readable_or_fail SIGN_PKCS11_MODULE "$SIGN_PKCS11_MODULE" && readable_or_fail SIGN_CERT "$SIGN_CERT" &&
        readable_or_fail SIGN_PIN_FILE "$SIGN_PIN_FILE" || return 1
    [[ "$SIGN_PKCS11_KEY" == pkcs11:* ]] ||
        signing_error "SIGN_PKCS11_KEY=$SIGN_PKCS11_KEY is not a PKCS#11 URI ('pkcs11:token=...;object=...')" || return 1
    command -v p11tool >/dev/null || signing_error "p11tool is not installed: run 'make deps'" || return 1
    local certificate tokens label
    certificate=$(openssl x509 -in "$SIGN_CERT" 2>/dev/null) ||
        signing_error "SIGN_CERT=$SIGN_CERT holds no PEM certificate" || return 1
    check_certificate "$certificate" "$SIGN_CERT" || return 1
    tokens=$(p11tool --batch --provider "$SIGN_PKCS11_MODULE" --list-tokens </dev/null 2>&1) ||
        signing_error "the PKCS#11 module $SIGN_PKCS11_MODULE does not load (is it the token's PKCS#11 library?)" ||
        return 1
    if label=$(uri_attribute "$SIGN_PKCS11_KEY" token); then
        grep -qxF $'\t'"Label: $label" <<<"$tokens" ||
            signing_error "no token '$label' through $SIGN_PKCS11_MODULE (is it plugged in?)" || return 1
    fi
    # A token without keys fails too, but without a word about the PIN.
    local login
    login=$(p11tool_logged_in --list-privkeys "$(token_uri_of "$SIGN_PKCS11_KEY")") || ! grep -q PIN <<<"$login" ||
        signing_error "the PIN in $SIGN_PIN_FILE does not open token '${label:-of $SIGN_PKCS11_KEY}'" || return 1
    p11tool_logged_in --list-privkeys "$SIGN_PKCS11_KEY" | grep -q '^Object' ||
        signing_error "no key $SIGN_PKCS11_KEY on token '${label:-of that URI}'" || return 1
    # The key must be the certificate's, or every signature would fail to verify.
    [ "$(p11tool_logged_in --export-pubkey "$SIGN_PKCS11_KEY" | openssl pkey -pubin -outform DER 2>/dev/null | sha256sum)" = \
      "$(openssl x509 -pubkey -noout <<<"$certificate" | openssl pkey -pubin -outform DER 2>/dev/null | sha256sum)" ] ||
        signing_error "the certificate in $SIGN_CERT is not the one of key $SIGN_PKCS11_KEY"
}

check_signing_inputs() {
    signing_route=""
    local pfx=(SIGN_PFX SIGN_PASSWORD_FILE) pkcs11=(SIGN_PKCS11_MODULE SIGN_PKCS11_KEY SIGN_CERT SIGN_PIN_FILE)
    local name given_pfx=() given_pkcs11=() missing=()
    for name in "${pfx[@]}"; do [ -z "${!name:-}" ] || given_pfx+=("$name"); done
    for name in "${pkcs11[@]}"; do [ -z "${!name:-}" ] || given_pkcs11+=("$name"); done
    if [ ${#given_pfx[@]} -gt 0 ] && [ ${#given_pkcs11[@]} -gt 0 ]; then
        signing_error "give one route, not both: ${given_pfx[*]} (a .pfx) or ${given_pkcs11[*]} (a PKCS#11 token)"
        return 1
    fi
    if [ ${#given_pfx[@]} -gt 0 ]; then
        for name in "${pfx[@]}"; do [ -n "${!name:-}" ] || missing+=("$name"); done
        [ ${#missing[@]} -eq 0 ] || signing_error "with a .pfx, also give ${missing[*]}" || return 1
        signing_route=pfx
    elif [ ${#given_pkcs11[@]} -gt 0 ]; then
        for name in "${pkcs11[@]}"; do [ -n "${!name:-}" ] || missing+=("$name"); done
        [ ${#missing[@]} -eq 0 ] || signing_error "with a PKCS#11 token, also give ${missing[*]}" || return 1
        signing_route=pkcs11
    else
        return 0
    fi
    command -v osslsigncode >/dev/null || signing_error "osslsigncode is not installed: run 'make deps'" || return 1
    "check_${signing_route}_inputs" || return 1
    echo "Signing with $signer"
}

# A field of the image's version information, e.g. FileDescription.
version_field() {
    wrestool -x --raw --type=16 "$1" 2>/dev/null | iconv -f UTF-16LE -t UTF-8 2>/dev/null |
        tr -c '[:print:]' '\n' | grep -v '^$' | grep -A1 -x "$2" | tail -1
}

# osslsigncode with the route's key; the secret comes on its standard input.
osslsigncode_sign() {
    if [ "$signing_route" = pkcs11 ]; then
        read_secret "$SIGN_PIN_FILE" | osslsigncode sign -pkcs11module "$SIGN_PKCS11_MODULE" -certs "$SIGN_CERT" \
            -key "$SIGN_PKCS11_KEY" -readpass - "$@"
    else
        read_secret "$SIGN_PASSWORD_FILE" | osslsigncode sign -pkcs12 "$SIGN_PFX" -readpass - "$@"
    fi
}

sign_image() {
    local in=$1 out=$2 description=${3:-}
    [ -n "$description" ] || description=$(version_field "$in" FileDescription)
    local sign=(osslsigncode_sign -h sha256 -n "$description" -in "$in")
    if "${sign[@]}" ${SIGN_TIMESTAMP_URL:+-ts "$SIGN_TIMESTAMP_URL"} -out "$out" >"$out.log" 2>&1; then
        rm -f "$out.log"
        return 0
    fi
    # Signs without the timestamp, to tell a time-stamp server's failure
    # from the signing's in the deployer's own words.
    rm -f "$out"
    if [ -n "${SIGN_TIMESTAMP_URL:-}" ] && "${sign[@]}" -out "$out.untimed" >/dev/null 2>&1; then
        rm -f "$out.untimed" "$out.log"
        signing_error "the time-stamp server $SIGN_TIMESTAMP_URL (SIGN_TIMESTAMP_URL) could not be reached or gave" \
                      "no timestamp for $(basename "$in"); check the address, or sign without a timestamp"
        return 1
    fi
    sed 's/^/error:   /' "$out.log" >&2
    rm -f "$out.log" "$out.untimed"
    signing_error "osslsigncode could not sign $(basename "$in")"
}
