# Sourced by dist.sh: Authenticode signing of the release images with the
# deployer's certificate. The key stays in the deployer's .pfx file and the
# password in their password file: both are read by path, so neither the
# key nor the password reaches a command line, a log or build/.
#   check_signing_inputs   fails, saying why, unless SIGN_PFX and
#                          SIGN_PASSWORD_FILE give a code-signing
#                          certificate that is valid now
#   sign_image <in> <out> [description]
#                          signs with SHA-256, the description (by default
#                          the image's own) and, with SIGN_TIMESTAMP_URL, a
#                          countersigned RFC 3161 timestamp

signing_error() {
    echo "error: cannot sign: $*" >&2
    return 1
}

# The certificate (no key) out of the .pfx, in PEM; old .pfx files need
# OpenSSL's legacy algorithms.
pfx_certificate() {
    openssl pkcs12 -in "$SIGN_PFX" -passin "file:$SIGN_PASSWORD_FILE" -nokeys -clcerts 2>/dev/null ||
        openssl pkcs12 -legacy -in "$SIGN_PFX" -passin "file:$SIGN_PASSWORD_FILE" -nokeys -clcerts 2>/dev/null
}

check_signing_inputs() {
    [ -n "${SIGN_PFX:-}" ] && [ -n "${SIGN_PASSWORD_FILE:-}" ] ||
        signing_error "give both SIGN_PFX=<file.pfx> and SIGN_PASSWORD_FILE=<file>"
    [ -f "$SIGN_PFX" ] && [ -r "$SIGN_PFX" ] || signing_error "cannot read the certificate file $SIGN_PFX"
    [ -f "$SIGN_PASSWORD_FILE" ] && [ -r "$SIGN_PASSWORD_FILE" ] ||
        signing_error "cannot read the password file $SIGN_PASSWORD_FILE"
    command -v osslsigncode >/dev/null || signing_error "osslsigncode is not installed: run 'make deps'"
    local certificate
    certificate=$(pfx_certificate) && [ -n "$certificate" ] ||
        signing_error "$SIGN_PFX does not open with the password in $SIGN_PASSWORD_FILE (wrong password, or not a .pfx file)"
    local subject expires
    subject=$(openssl x509 -noout -subject -nameopt oneline <<<"$certificate")
    expires=$(openssl x509 -noout -enddate <<<"$certificate")
    openssl x509 -noout -checkend 0 <<<"$certificate" >/dev/null ||
        signing_error "the certificate has expired (${expires#notAfter=}): $subject"
    local starts
    starts=$(openssl x509 -noout -startdate <<<"$certificate")
    [ "$(date -d "${starts#notBefore=}" +%s)" -le "$(date +%s)" ] ||
        signing_error "the certificate is not valid yet (from ${starts#notBefore=}): $subject"
    openssl x509 -noout -ext extendedKeyUsage <<<"$certificate" 2>/dev/null | grep -q "Code Signing" ||
        signing_error "the certificate is not for code signing (its extended key usage lacks Code Signing): $subject"
    echo "Signing with $subject (${expires})"
}

# A field of the image's version information, e.g. FileDescription.
version_field() {
    wrestool -x --raw --type=16 "$1" 2>/dev/null | iconv -f UTF-16LE -t UTF-8 2>/dev/null |
        tr -c '[:print:]' '\n' | grep -v '^$' | grep -A1 -x "$2" | tail -1
}

sign_image() {
    local in=$1 out=$2 description=${3:-} timestamp=()
    [ -n "$description" ] || description=$(version_field "$in" FileDescription)
    [ -z "${SIGN_TIMESTAMP_URL:-}" ] || timestamp=(-ts "$SIGN_TIMESTAMP_URL")
    if ! osslsigncode sign -pkcs12 "$SIGN_PFX" -readpass "$SIGN_PASSWORD_FILE" -h sha256 \
            -n "$description" "${timestamp[@]}" -in "$in" -out "$out" \
            >"$out.log" 2>&1; then
        sed 's/^/error:   /' "$out.log" >&2
        signing_error "osslsigncode could not sign $(basename "$in")${SIGN_TIMESTAMP_URL:+ with a timestamp from $SIGN_TIMESTAMP_URL}"
    fi
    rm -f "$out.log"
}
