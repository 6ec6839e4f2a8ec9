#!/usr/bin/env bash
# Signs Windows programs (.exe) and installers (.msi) in place with
# osslsigncode: an Authenticode signature with SHA-256, naming TALLYBOOK
# (a signature already there is replaced).
#
#   scripts/sign-windows.sh FILE...
#
# The certificate and its key, either
#   TALLYBOOK_SIGN_CERT    the certificate, with its chain (PEM or DER)
#   TALLYBOOK_SIGN_KEY     its private key (PEM or DER)
# or
#   TALLYBOOK_SIGN_PKCS12  both in one .pfx/.p12 file
# and
#   TALLYBOOK_SIGN_PASS    the key's password, if it has one
#   TALLYBOOK_SIGN_TIMESTAMP  an RFC 3161 time-stamping server, so that the
#                          signatures stay valid after the certificate
#                          expires (none by default: it needs the network)
#
# scripts/pack-windows.sh calls it on the programs before it packs them and
# on the MSI after, whenever a certificate is given.
set -euo pipefail
die() { echo "sign-windows: $*" >&2; exit 1; }
[ $# -gt 0 ] || die "usage: sign-windows.sh FILE... (with TALLYBOOK_SIGN_CERT and TALLYBOOK_SIGN_KEY, or TALLYBOOK_SIGN_PKCS12)"
command -v osslsigncode > /dev/null || die "osslsigncode is missing (apt-get install osslsigncode)"

if [ -n "${TALLYBOOK_SIGN_PKCS12:-}" ]; then
    [ -r "$TALLYBOOK_SIGN_PKCS12" ] || die "cannot read TALLYBOOK_SIGN_PKCS12=$TALLYBOOK_SIGN_PKCS12"
    with=(-pkcs12 "$TALLYBOOK_SIGN_PKCS12")
elif [ -n "${TALLYBOOK_SIGN_CERT:-}" ] && [ -n "${TALLYBOOK_SIGN_KEY:-}" ]; then
    [ -r "$TALLYBOOK_SIGN_CERT" ] || die "cannot read TALLYBOOK_SIGN_CERT=$TALLYBOOK_SIGN_CERT"
    [ -r "$TALLYBOOK_SIGN_KEY" ] || die "cannot read TALLYBOOK_SIGN_KEY=$TALLYBOOK_SIGN_KEY"
    with=(-certs "$TALLYBOOK_SIGN_CERT" -key "$TALLYBOOK_SIGN_KEY")
else
    die "no certificate: set TALLYBOOK_SIGN_CERT and TALLYBOOK_SIGN_KEY, or TALLYBOOK_SIGN_PKCS12"
fi
# The password through a file, never on the command line (where ps shows it).
pass_file=
trap '[ -z "$pass_file" ] || rm -f "$pass_file"' EXIT
if [ -n "${TALLYBOOK_SIGN_PASS:-}" ]; then
    pass_file=$(mktemp)
    printf '%s' "$TALLYBOOK_SIGN_PASS" > "$pass_file"
    with+=(-readpass "$pass_file")
fi
[ -z "${TALLYBOOK_SIGN_TIMESTAMP:-}" ] || with+=(-ts "$TALLYBOOK_SIGN_TIMESTAMP")

for file in "$@"; do
    [ -f "$file" ] || die "$file is not a file"
    osslsigncode sign "${with[@]}" -h sha256 -n TALLYBOOK -in "$file" -out "$file.signed" > "$file.sign.log" 2>&1 ||
        { cat "$file.sign.log" >&2; rm -f "$file.signed" "$file.sign.log"; die "could not sign $file"; }
    mv "$file.signed" "$file"
    rm -f "$file.sign.log"
    echo "signed $(basename "$file")"
done
