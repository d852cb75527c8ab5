#!/usr/bin/env bash
# Signs the Windows 11 package and writes its certificate's public part.
#
#   sign_package.sh throwaway PFX SUBJECT
#       makes a self-signed code-signing certificate with the openssl SUBJECT (/CN=...) and its
#       key in PFX, with an empty password, unless PFX already exists
#   sign_package.sh publisher PFX
#       prints the certificate's subject as a package manifest's Publisher
#   sign_package.sh sign PFX UNSIGNED MANIFEST OUT.msix OUT.cer
#       refuses when MANIFEST's Publisher is not the certificate's subject, then signs UNSIGNED
#       into OUT.msix and writes the certificate, DER encoded, to OUT.cer
#
# The PFX's password is read from QUORIEL_SIGNING_PASSWORD (empty when unset, as for the
# throwaway certificate) and handed to openssl through the environment and to osslsigncode in a
# private temporary file, never on a command line. QUORIEL_TIMESTAMP_URL, when set, names a
# time-stamping server for the signature.
set -euo pipefail

password_variable=QUORIEL_SIGNING_PASSWORD
export "$password_variable=${!password_variable-}"

certificate_pem() {
    openssl pkcs12 -in "$1" -passin "env:$password_variable" -clcerts -nokeys |
        openssl x509
}

# Windows writes a subject most significant part last, parts joined by ", ", with its own short
# names for some attributes. Values that need quoting or escaping are refused rather than
# guessed at.
publisher() {
    local subject
    subject=$(certificate_pem "$1" |
        openssl x509 -noout -subject -nameopt utf8,esc_2253,sep_comma_plus_space,dn_rev,sname)
    subject=${subject#subject=}
    if [[ $subject == *\\* || $subject == *" + "* || $subject == *[\"\<\>\#\;]* ]]; then
        echo "the certificate's subject '$subject' has characters that a package Publisher" \
            "would have to quote; use a certificate whose subject has none" >&2
        exit 1
    fi
    sed -E 's/(^|, )ST=/\1S=/g; s/(^|, )emailAddress=/\1E=/g; s/(^|, )GN=/\1G=/g;
            s/(^|, )street=/\1STREET=/g; s/(^|, )serialNumber=/\1SERIALNUMBER=/g' <<<"$subject"
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
sign)
    pfx=$2 unsigned=$3 manifest=$4 out=$5 cer=$6
    signer=$(publisher "$pfx")
    declared=$(sed -n '/<Identity /,/>/s/.*Publisher="\([^"]*\)".*/\1/p' "$manifest" |
        head -n 1)
    if [ "$declared" != "$signer" ]; then
        echo "the manifest's Publisher '$declared' is not the signing certificate's subject" \
            "'$signer': Windows would refuse the package. Configure the build again with the" \
            "certificate in QUORIEL_SIGNING_PFX." >&2
        exit 1
    fi
    timestamp=()
    if [ -n "${QUORIEL_TIMESTAMP_URL-}" ]; then
        timestamp=(-ts "$QUORIEL_TIMESTAMP_URL")
    fi
    # The hash algorithm is the block map's.
    # osslsigncode reads a password from a file only, not from a pipe: a private file that
    # lives as long as the signing.
    password=()
    if [ -n "${!password_variable}" ]; then
        work=$(mktemp -d)
        trap 'rm -rf "$work"' EXIT
        (umask 077 && printf '%s' "${!password_variable}" >"$work/password")
        password=(-readpass "$work/password")
    fi
    rm -f "$out" "$out.partial"
    osslsigncode sign -pkcs12 "$pfx" "${password[@]}" "${timestamp[@]}" \
        -in "$unsigned" -out "$out.partial" >/dev/null
    mv "$out.partial" "$out"
    certificate_pem "$pfx" | openssl x509 -outform DER -out "$cer"
    ;;
*)
    sed -n '2,/^set /{/^#/s/^# \{0,1\}//p}' "$0" >&2
    exit 2
    ;;
esac
