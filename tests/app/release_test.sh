#!/usr/bin/env bash
# release_test.sh reproducible|signed VERSION: scripts/release as a publisher
# runs it, in a clean folder of its own.
#   reproducible: without the issuer or the minimum installer version it
#     refuses and releases nothing; with both, unsigned, it says so; a second
#     clean build in another folder, given the same two, gives the same
#     bytes; the program carries both; the checksum matches; the version
#     resource carries the project's VERSION.
#   signed: with the test CA's code-signing certificate, counter-signed by a
#     time-stamp server of the test CA on loopback (in a network namespace
#     of its own), the signature and its time stamp verify against that CA
#     and the checksum matches; a certificate of a
#     CA not given (as PKCS#12, with its password) signs, but is refused at
#     the verification, and nothing is released.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
mode=${1:?usage: release_test.sh reproducible|signed VERSION}
version=${2:?usage: release_test.sh reproducible|signed VERSION}
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The pins of the releases built here: distinctive, to be found in the file.
issuer="Korvix Release Test CA"
min_version=2.7.1.9
export KORVIX_INSTALLER_ISSUER=$issuer KORVIX_MIN_INSTALLER_VERSION=$min_version

checksum_matches() {
    (cd "$1" && sha256sum --check --strict SHA256SUMS) || fail "SHA256SUMS does not match $1"
}

case $mode in
reproducible)
    for unset in KORVIX_INSTALLER_ISSUER KORVIX_MIN_INSTALLER_VERSION; do
        if env "$unset=" KORVIX_RELEASE_DIR="$work/unpinned" "$root/scripts/release" >"$work/log" 2>&1; then
            fail "released without $unset"
        fi
        grep -q "$unset not set" "$work/log" || { cat "$work/log"; fail "the refusal does not name $unset"; }
        [ ! -e "$work/unpinned" ] || fail "something was released without $unset"
    done
    KORVIX_RELEASE_DIR=$work/out "$root/scripts/release" >"$work/log" 2>&1 ||
        { cat "$work/log"; fail "scripts/release failed"; }
    grep -q 'UNSIGNED' "$work/log" || fail "an unsigned release does not say so"
    checksum_matches "$work/out"
    cmake -S "$root" -B "$work/another build" -G Ninja -DBUILD_TESTING=OFF \
        "-DKORVIX_INSTALLER_ISSUER=$issuer" "-DKORVIX_MIN_INSTALLER_VERSION=$min_version" >/dev/null
    cmake --build "$work/another build" --target Korvix_Setup >/dev/null
    cmp "$work/out/Korvix_Setup.exe" "$work/another build/Korvix_Setup.exe" ||
        fail "two clean builds differ"
    file_version=$(strings -el "$work/out/Korvix_Setup.exe" | grep -A1 -x FileVersion | tail -1)
    [ "$file_version" = "$version.0" ] || fail "file version $file_version, not $version.0"
    # (grep -c reads all: with -q, strings would end on a broken pipe.)
    [ "$(strings -el "$work/out/Korvix_Setup.exe" | grep -cx "$issuer")" -gt 0 ] ||
        fail "the release does not carry its issuer"
    # The minimum version: four 16-bit parts, the first highest, little-endian.
    python3 - "$work/out/Korvix_Setup.exe" "$min_version" <<'PY' || fail "the release does not carry its minimum version"
import struct, sys
a, b, c, d = (int(x) for x in sys.argv[2].split("."))
sys.exit(0 if struct.pack("<Q", a << 48 | b << 32 | c << 16 | d) in open(sys.argv[1], "rb").read() else 1)
PY
    echo "two clean builds: identical; file version $file_version; pinned to $issuer, $min_version"
    ;;
signed)
    # The time-stamp server listens on loopback of a namespace of our own.
    if [ -z "${KORVIX_RELEASE_NS:-}" ]; then
        rm -rf "$work"
        exec unshare --net -- env KORVIX_RELEASE_NS=1 bash "$0" "$@"
    fi
    ip link set lo up
    bash "$root/tests/tools/make-test-ca" "$work/ca"
    python3 "$root/tests/servers/tsa_server.py" --port 8318 --cert "$work/ca/tsa.pem" \
        --key "$work/ca/tsa.key" --chain "$work/ca/ca.pem" --ready "$work/tsa-ready" &
    tsa=$!
    # Its end by our signal is no failure of the test.
    trap 'kill $tsa 2>/dev/null || true; wait $tsa 2>/dev/null || true; rm -rf "$work"' EXIT
    for _ in $(seq 100); do [ -e "$work/tsa-ready" ] && break; sleep 0.1; done
    [ -e "$work/tsa-ready" ] || fail "the time-stamp server did not start"
    # The signer names its CA's list of revoked certificates, as a real one
    # does; the verification gets it from a file (nothing serves it here).
    openssl crl -inform DER -in "$work/ca/crl/ca.crl" -out "$work/ca/ca-crl.pem"
    KORVIX_RELEASE_DIR=$work/out KORVIX_SIGN_CERT=$work/ca/signer.pem \
        KORVIX_SIGN_KEY=$work/ca/signer.key KORVIX_SIGN_CA=$work/ca/ca.pem \
        KORVIX_SIGN_CRL=$work/ca/ca-crl.pem \
        KORVIX_TIMESTAMP_URL=http://127.0.0.1:8318 KORVIX_TIMESTAMP_CA=$work/ca/ca.pem \
        "$root/scripts/release" >"$work/log" 2>&1 || { cat "$work/log"; fail "scripts/release failed"; }
    grep -q ', signed and time-stamped$' "$work/log" || fail "the release does not say it is signed and time-stamped"
    checksum_matches "$work/out"
    osslsigncode verify -CAfile "$work/ca/ca.pem" -CRLfile "$work/ca/ca-crl.pem" \
        -TSA-CAfile "$work/ca/ca.pem" -in "$work/out/Korvix_Setup.exe" >"$work/verify" ||
        { cat "$work/verify"; fail "the released file's signature does not verify"; }
    grep -q 'Subject: /CN=Korvix Test Publisher' "$work/verify" || fail "signed by someone else"
    grep -q 'Timestamp Server Signature verification: ok' "$work/verify" || fail "no verified time stamp"
    # A revoked signer's signature is refused, and nothing is released.
    if KORVIX_RELEASE_DIR=$work/revoked KORVIX_SIGN_CERT=$work/ca/revoked.pem \
        KORVIX_SIGN_KEY=$work/ca/revoked.key KORVIX_SIGN_CA=$work/ca/ca.pem \
        KORVIX_SIGN_CRL=$work/ca/ca-crl.pem KORVIX_TIMESTAMP_URL= \
        "$root/scripts/release" >"$work/log" 2>&1; then
        fail "a revoked signer's release was released"
    fi
    [ ! -e "$work/revoked/Korvix_Setup.exe" ] || fail "the revoked signer's file was released"
    # Signed by a CA the release was not told to trust: refused, not released.
    openssl pkcs12 -export -in "$work/ca/rogue.pem" -inkey "$work/ca/rogue.key" \
        -passout pass:'a pass phrase' -out "$work/ca/rogue.p12"
    if KORVIX_RELEASE_DIR=$work/rogue KORVIX_SIGN_PKCS12=$work/ca/rogue.p12 KORVIX_TIMESTAMP_URL= \
        KORVIX_SIGN_PASSWORD='a pass phrase' KORVIX_SIGN_CA=$work/ca/ca.pem \
        "$root/scripts/release" >"$work/log" 2>&1; then
        fail "a signature that does not verify was released"
    fi
    grep -q 'the signature does not verify' "$work/log" || { cat "$work/log"; fail "not signed with the PKCS#12 file"; }
    [ ! -e "$work/rogue/Korvix_Setup.exe" ] || fail "the refused file was released"
    echo "signed, time-stamped release verifies against the test CA; a foreign signer's is refused"
    ;;
*) fail "no mode $mode" ;;
esac
