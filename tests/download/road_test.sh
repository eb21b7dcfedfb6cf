#!/usr/bin/env bash
# road_test.sh SCENARIO PROGRAM: one install-road scenario. Starts the
# servers the scenario needs (nginx, or our fault server) on localhost inside
# the test's network namespace, with a CA made now and trusted in the prefix,
# serves the fake installer padded to a few megabytes, registers a browser
# stand-in, then runs InstallRoad.SCENARIO of PROGRAM (the real dialog in
# that process) and stops everything it started.
set -euo pipefail
scenario=${1:?usage: road_test.sh SCENARIO PROGRAM}
program=${2:?usage: road_test.sh SCENARIO PROGRAM}
tools=$KORVIX_SOURCE_DIR/tests/tools
. "$tools/require-sandbox"
work=$(mktemp -d)
fault_pid=""
swapper_pid=""
documents=$WINEPREFIX/drive_c/users/Public/Documents
downloads=$documents/Velmora
cleanup() {
    if [ -n "$swapper_pid" ]; then kill "$swapper_pid" 2>/dev/null || true; wait "$swapper_pid" 2>/dev/null || true; fi
    if [ -L "$downloads" ] || [ -n "$swapper_pid" ]; then rm -rf "$downloads" "$downloads.swap"; fi
    if [ -f "$documents" ] && [ -d "$documents.away" ]; then rm -f "$documents" && mv "$documents.away" "$documents"; fi
    "$tools/nginx-server" stop "$work/nginx" || true
    "$tools/squid-proxy" stop "$work/squid" || true
    if [ -n "$fault_pid" ]; then kill "$fault_pid" 2>/dev/null || true; wait "$fault_pid" 2>/dev/null || true; fi
    unregister_browser_stand_in
    rm -rf "$work"
}
trap cleanup EXIT
. "$tools/download-bench.sh"

trust_test_ca
mkdir -p "$work/www/korvix.d" "$work/nginx"
payload=$work/www/korvix/velmora-korvix_setup.exe
make_fake_payload "$payload" 6000037
: >"$work/server.log"
: >"$work/nginx/access.log"
register_browser_stand_in

# someones_folder DIR: someone else's folder, open to all, with their files,
# two of them under the program's own names; their contents are checked after.
someones_folder() {
    rm -rf "$1"
    mkdir -p "$1"
    chmod 777 "$1"
    for name in someone.txt velmora-korvix_setup.down velmora-korvix_setup.exe; do
        echo "kept $name" >"$1/$name"
    done
    kept_folders+=("$1")
}
kept_folders=()
# kept_state: names, sizes and digests of every file in the kept folders.
kept_state() { for d in "${kept_folders[@]}"; do (cd "$d" && find . -type f | sort | xargs -r sha256sum); done; }

nginx_tls() { "$tools/nginx-server" start "$work/nginx" "$work/www" "$work/ca/localhost.pem" "$work/ca/localhost.key"; }
nginx_http() { "$tools/nginx-server" start "$work/nginx" "$work/www"; }
fault() { start_fault_server "$@"; }
# proxy named|script [LINE...]: a company's proxy, Squid (LINEs added to its
# rules), named in the user's settings, or in the auto-configuration script
# they name (served by nginx); only the proxy resolves the download host.
proxy() {
    local kind=$1
    shift
    chmod o+x "$work"  # Squid works as its own user
    "$tools/squid-proxy" start "$work/squid" "$@"
    if [ "$kind" = script ]; then
        printf 'function FindProxyForURL(url, host) {\n  if (host == "%s") return "PROXY 127.0.0.1:3128";\n  return "DIRECT";\n}\n' \
            "$KORVIX_PROXIED_HOST" >"$work/www/proxy.pac"
        set_user_proxy script http://localhost/proxy.pac
    else
        set_user_proxy named 127.0.0.1:3128
    fi
}
others() {  # JSON list of the segment ids 0..39 but the given ones
    python3 -c 'import sys; print([i for i in range(40) if str(i) not in sys.argv[1:]])' "$@"
}

case $scenario in
WholeRoad | SecondRunReusesTheClientId | InstallWithoutAgreeing | UrlWithoutPath | NoDesktopShell)
    nginx_tls ;;
UnversionedInstallerRefused)
    # The publisher's own signature on a file without version information.
    make_fake_payload "$payload" 6000037 signer fake_installer_unversioned
    nginx_tls ;;
RevokedSignerRefused)
    # The publisher's name, its certificate on its CA's list of revoked ones
    # (served on port 80).
    make_fake_payload "$payload" 6000037 revoked
    nginx_tls ;;
UnknownRevocationRefusedInFallback)
    # Port 443 closed, and no list of revoked certificates to be had.
    rm -f "$work/www/"*.crl
    nginx_http ;;
FolderBlockedFails)
    # The all-users documents folder is a file: no folder can be made in it.
    mv "$documents" "$documents.away"
    : >"$documents"
    nginx_tls ;;
SomeonesFolderLeftAlone)
    someones_folder "$downloads"
    nginx_tls ;;
SwappedFolderRace)
    # Someone's folder and a link to their decoy, which also holds a program
    # under the installer's name, trade places every millisecond from before
    # the program starts until the bench ends.
    someones_folder "$downloads"
    someones_folder "$work/decoy"
    make_fake_payload "$work/decoy/velmora-korvix_setup.exe" 3000000 none
    ln -s "$work/decoy" "$downloads.swap"
    swap_folders=yes
    nginx_tls ;;
NoFileNameFails)
    cp "$payload" "$work/www/korvix.d/setup"
    nginx_tls ;;
LinkedFolderLeftAlone)
    # The download folder: a link to someone's folder (removed on exit).
    someones_folder "$work/elsewhere"
    rm -rf "$downloads"
    ln -s "$work/elsewhere" "$downloads"
    nginx_tls ;;
FallbackToPlainHttp)
    nginx_http ;;
FaultsHeal)
    fault '[{"target": 0, "action": "delay:1.5", "attempts": 1},
             {"target": 1, "action": "delay:2.5", "attempts": 1},
             {"target": 5, "action": "end:65536", "attempts": 1},
             {"target": 7, "action": "reset:30000", "attempts": 1},
             {"target": 9, "action": "ignore-range", "attempts": 1},
             {"target": 11, "action": "status:404", "attempts": 1},
             {"target": 12, "action": "status:500", "attempts": 1},
             {"target": 13, "action": "total:+1", "attempts": 1},
             {"target": 14, "action": "status:401", "attempts": 1},
             {"target": "size", "action": "status:500", "attempts": 3}]' ;;
SlowSizeQueryFailures)
    fault '[{"target": "size", "action": "delay:35"}]' ;;
SegmentsParkedAndRelaunched)
    fault '[{"target": 0, "action": "status:500", "attempts": 35},
            {"target": 1, "action": "status:500", "attempts": 35},
            {"target": '"$(others 0 1)"', "action": "delay:6", "attempts": 1},
            {"target": '"$(others 0 1)"', "action": "rate:150000"}]' ;;
FortyRangesAtOnce)
    fault '[{"target": '"$(others)"', "action": "delay:1", "attempts": 1}]' ;;
FortyRangesAtOnceInFallback)
    fault '[{"target": "size", "action": "status:500", "attempts": 42},
            {"target": '"$(others)"', "action": "delay:1", "attempts": 1}]' --http-port 80 ;;
StalledRangeResumesInFallback)
    fault '[{"target": "size", "action": "status:500", "attempts": 42},
            {"target": 5, "action": "stall:65536"}]' --http-port 80 ;;
SilentRangeEndsInNetworkBox)
    fault '[{"target": 3, "action": "stall:0"}]' ;;
NetworkFailureOk | NetworkFailureCancel)
    fault '[{"target": 3, "action": "status:500"}]' ;;
TinyFileOf43Bytes)
    head -c 43 /dev/urandom >"$payload"
    fault '[]' ;;
TinyFileOf7Bytes)
    head -c 7 /dev/urandom >"$payload"
    fault '[]' ;;
AllocationFailureFails)
    fault '[{"target": "size", "action": "size:2000000000"}]' ;;
ByteReportsAtFullSpeed)
    make_fake_payload "$payload" $((256 << 20))
    nginx_tls ;;
ThroughTheNamedProxy)
    proxy named
    # Each range at 40 KB/s (about 4 s), the size query's answer at full
    # speed; the server closes each connection after its answer, so that
    # Squid logs each tunnel when its range ends.
    NGINX_HTTP_EXTRA='keepalive_timeout 0; map $http_range $korvix_rate { "" 0; default 40k; }
        limit_rate $korvix_rate;' nginx_tls ;;
FallbackThroughTheProxy)
    proxy named "http_access deny CONNECT"
    nginx_tls ;;
FallbackThroughTheScriptsProxy)
    proxy script
    nginx_tls ;;
ProxyWantsAPassword)
    proxy named "auth_param basic program /usr/lib/squid/basic_fake_auth" \
        "auth_param basic realm korvix" "acl logged_on proxy_auth REQUIRED" \
        "http_access deny !logged_on"
    nginx_tls ;;
*)
    echo "road_test.sh: no scenario $scenario" >&2
    exit 2 ;;
esac

export KORVIX_PAYLOAD=$payload
KORVIX_PAYLOAD_SHA256=$(sha256sum "$payload" | cut -d' ' -f1)
export KORVIX_PAYLOAD_SHA256
KORVIX_FAKE_RECORD=$(windows_path "$work/installer-record.txt")
export KORVIX_FAKE_RECORD
KORVIX_FAKE_PRODUCT_RECORD=$(windows_path "$work/product-record.txt")
export KORVIX_FAKE_PRODUCT_RECORD
export KORVIX_SERVER_LOG=$work/server.log
export KORVIX_NGINX_LOG=$work/nginx/access.log
export KORVIX_PROXY_LOG=$work/squid/access.log
export KORVIX_BROWSER_RECORD=$work/browser.txt
xdotool mousemove 5 5 2>/dev/null || true

kept_before=$(kept_state)
if [ -n "${swap_folders:-}" ]; then
    "$tools/folder-swapper" "$downloads" "$downloads.swap" --seconds 240 &
    swapper_pid=$!
fi
status=0
if [ "$scenario" = SecondRunReusesTheClientId ]; then
    # The first run on this prefix, which stores the client id.
    wine "$program" --gtest_filter=InstallRoad.WholeRoad || status=$?
fi
[ "$status" != 0 ] || wine "$program" --gtest_filter="InstallRoad.$scenario" || status=$?
if [ -n "$swapper_pid" ]; then
    kill "$swapper_pid"
    wait "$swapper_pid" || true
    swapper_pid=""
    rm -f "$downloads.swap"
fi
if [ "$(kept_state)" != "$kept_before" ]; then
    echo "FAIL: someone else's files were changed:" >&2
    diff <(echo "$kept_before") <(kept_state) >&2 || true
    status=1
fi
if [ "$status" != 0 ]; then
    echo "--- server log (last lines)" >&2
    tail -n "${KORVIX_LOG_LINES:-20}" "$work/server.log" >&2 || true
    tail -n 20 "$work/nginx/access.log" >&2 || true
    if [ -f "$work/squid/access.log" ]; then
        echo "--- proxy log (last lines)" >&2
        tail -n 20 "$work/squid/access.log" >&2
    fi
fi
exit "$status"
