#!/usr/bin/env bash
# Signs Windows programs in place with osslsigncode (Authenticode) when
# ZELK_SIGN_PKCS12 names a certificate with its key (a .pfx/.p12 file; its
# password in ZELK_SIGN_PASSWORD, a time-stamping server in
# ZELK_SIGN_TIMESTAMP). Without a certificate it does nothing: a release may
# go out unsigned.
# Usage: sign.sh <program.exe>...
set -euo pipefail
[ -n "${ZELK_SIGN_PKCS12:-}" ] || exit 0
if ! command -v osslsigncode >/dev/null; then
    echo "ZELK_SIGN_PKCS12 is set, but osslsigncode is not installed (Debian: osslsigncode)" >&2
    exit 1
fi
options=(-pkcs12 "$ZELK_SIGN_PKCS12" -n "Zelk. 2010" -h sha256)
[ -z "${ZELK_SIGN_PASSWORD:-}" ] || options+=(-pass "$ZELK_SIGN_PASSWORD")
[ -z "${ZELK_SIGN_TIMESTAMP:-}" ] || options+=(-ts "$ZELK_SIGN_TIMESTAMP")
for program in "$@"; do
    osslsigncode sign "${options[@]}" -in "$program" -out "$program.signed"
    mv "$program.signed" "$program"
done
