#!/usr/bin/env bash
# The HTTPS bench works: in a private network namespace, nginx serves TLS on
# localhost:443 with a certificate from a CA made now. WinINet under Wine
# refuses it until add_test_ca puts the CA into the prefix's LocalMachine
# Root store, then fetches the file intact, over 443 and plain 80.
set -euo pipefail
tools=$KORVIX_SOURCE_DIR/tests/tools
. "$tools/require-sandbox"
bin=$KORVIX_TEST_TOOLS
work=$(mktemp -d)
trap '"$tools/nginx-server" stop "$work/nginx"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$tools/make-test-ca" "$work/ca"
mkdir -p "$work/www"
head -c 300000 /dev/urandom >"$work/www/payload.bin"
"$tools/nginx-server" start "$work/nginx" "$work/www" "$work/ca/localhost.pem" "$work/ca/localhost.key"

fetch() { wine "$bin/wininet_fetch.exe" "$@" 2>/dev/null | tr -d '\r'; }
# Windows paths without starting Wine for them (winepath can fail under load).
. "$tools/download-bench.sh"

before=$(fetch https://localhost/payload.bin) || true
[[ $before == error=* ]] || fail "an untrusted certificate was accepted: $before"
echo "before trust: $before"

wine "$bin/add_test_ca.exe" "$(windows_path "$work/ca/ca.pem")" >/dev/null 2>&1 ||
    fail "add_test_ca could not add the CA"

out=$(fetch https://localhost/payload.bin "$(windows_path "$work/got443.bin")") || fail "TLS fetch: $out"
[ "$out" = "status=200 bytes=300000" ] || fail "TLS fetch: $out"
cmp -s "$work/www/payload.bin" "$work/got443.bin" || fail "TLS fetch changed the bytes"
out=$(fetch http://localhost/payload.bin "$(windows_path "$work/got80.bin")") || fail "HTTP fetch: $out"
cmp -s "$work/www/payload.bin" "$work/got80.bin" || fail "HTTP fetch changed the bytes"
grep -q '"GET /payload.bin HTTP/1.1" 200 300000' "$work/nginx/access.log" || fail "nginx logged no 200"
echo "ok: https after trust, http too"
