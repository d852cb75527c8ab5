#!/usr/bin/env bash
# Signs what is shipped: the Windows 11 package, with its certificate's public part beside it,
# and the programs of the release archive. The one place that knows how signing is done.
#
#   sign.sh throwaway PFX SUBJECT
#       makes a self-signed code-signing certificate with the openssl SUBJECT (/CN=...) and its
#       key in PFX, with an empty password, unless PFX already exists
#   sign.sh publisher PFX
#       prints the certificate's subject as a package manifest's Publisher (publisher.py)
#   sign.sh package PFX UNSIGNED MANIFEST OUT.msix OUT.cer
#       refuses when MANIFEST's Publisher is not the certificate's subject, then signs UNSIGNED
#       into OUT.msix and writes the certificate, DER encoded, to OUT.cer
#   sign.sh program PFX NAME FILE
#       gives the Windows program FILE (.exe or .dll) an Authenticode signature in place, with
#       NAME as the program's name that Windows shows beside the publisher
#
# Signatures use SHA-256. The PFX's password is read from QUORIEL_SIGNING_PASSWORD (empty when
# unset, as for the throwaway certificate) and handed to openssl through the environment and to
# osslsigncode in a private temporary file, never on a command line. QUORIEL_TIMESTAMP_URL, when
# set, names an RFC 3161 time-stamping server for the signatures.
set -euo pipefail

password_variable=QUORIEL_SIGNING_PASSWORD
export "$password_variable=${!password_variable-}"

certificate_pem() {
    openssl pkcs12 -in "$1" -passin "env:$password_variable" -clcerts -nokeys |
        openssl x509
}

publisher_script=$(dirname "$0")/publisher.py

# publisher PFX [MANIFEST]: prints the certificate's subject in Windows' form, or, given a
# manifest, fails unless the manifest's Publisher is exactly that.
publisher() {
    certificate_pem "$1" | openssl x509 -outform DER |
        python3 "$publisher_script" /dev/stdin "${@:2}"
}

# osslsign PFX IN OUT [OPTION...]: signs IN into OUT (which may be IN itself) with SHA-256,
# time-stamped when a server is given.
osslsign() {
    local pfx=$1 in=$2 out=$3
    shift 3
    local timestamp=() password=()
    if [ -n "${QUORIEL_TIMESTAMP_URL-}" ]; then
        timestamp=(-ts "$QUORIEL_TIMESTAMP_URL")
    fi
    # osslsigncode reads a password from a file only, not from a pipe: a private file that
    # lives as long as the signing.
    if [ -n "${!password_variable}" ]; then
        work=$(mktemp -d)
        trap 'rm -rf "$work"' EXIT
        (umask 077 && printf '%s' "${!password_variable}" >"$work/password")
        password=(-readpass "$work/password")
    fi
    rm -f "$out.partial"
    osslsigncode sign -pkcs12 "$pfx" "${password[@]}" -h sha256 "${timestamp[@]}" "$@" \
        -in "$in" -out "$out.partial" >/dev/null
    mv "$out.partial" "$out"
}

case ${1-} in
throwaway)
    pfx=$2 subject=$3
    if [ -f "$pfx" ]; then
        exit 0
    fi
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    openssl req -x509 -newkey rsa:3072 -nodes -days 3650 -subj "$subject" \
        -keyout "$work/key.pem" -out "$work/certificate.pem" \
        -addext "basicConstraints=critical,CA:FALSE" \
        -addext "keyUsage=critical,digitalSignature" \
        -addext "extendedKeyUsage=codeSigning" 2>/dev/null
    mkdir -p "$(dirname "$pfx")"
    openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/certificate.pem" \
        -passout pass: -out "$pfx.partial"
    mv "$pfx.partial" "$pfx"
    ;;
publisher)
    publisher "$2"
    ;;
package)
    pfx=$2 unsigned=$3 manifest=$4 out=$5 cer=$6
    publisher "$pfx" "$manifest"
    # The hash algorithm is also the block map's.
    osslsign "$pfx" "$unsigned" "$out"
    certificate_pem "$pfx" | openssl x509 -outform DER -out "$cer"
    ;;
program)
    pfx=$2 name=$3 file=$4
    osslsign "$pfx" "$file" "$file" -n "$name"
    ;;
*)
    sed -n '2,/^set /{/^#/s/^# \{0,1\}//p}' "$0" >&2
    exit 2
    ;;
esac
