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
downloads=$WINEPREFIX/drive_c/users/Public/Documents/Velmora
cleanup() {
    if [ -L "$downloads" ]; then rm -f "$downloads"; fi
    "$tools/nginx-server" stop "$work/nginx" || true
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

nginx_tls() { "$tools/nginx-server" start "$work/nginx" "$work/www" "$work/ca/localhost.pem" "$work/ca/localhost.key"; }
nginx_http() { "$tools/nginx-server" start "$work/nginx" "$work/www"; }
fault() { start_fault_server "$@"; }
others() {  # JSON list of the segment ids 0..39 but the given ones
    python3 -c 'import sys; print([i for i in range(40) if str(i) not in sys.argv[1:]])' "$@"
}

case $scenario in
WholeRoad | SecondRunReusesTheClientId | InstallWithoutAgreeing | UrlWithoutPath | FolderBlockedFails)
    nginx_tls ;;
NoFileNameFails)
    cp "$payload" "$work/www/korvix.d/setup"
    nginx_tls ;;
LinkedFolderNotWrittenThrough)
    # The download folder: a link to someone's folder (removed on exit).
    mkdir -p "$work/elsewhere"
    echo kept >"$work/elsewhere/someone.txt"
    rm -rf "$downloads"
    ln -s "$work/elsewhere" "$downloads"
    export KORVIX_ELSEWHERE=$work/elsewhere
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
             {"target": "size", "action": "status:500", "attempts": 3}]' ;;
SlowSizeQueryFailures)
    fault '[{"target": "size", "action": "delay:35"}]' ;;
SizeQueryFailingFortyOneTimes)
    fault '[{"target": "size", "action": "status:500", "attempts": 41}]' ;;
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
NetworkFailureOk | NetworkFailureCancel)
    fault '[{"target": 3, "action": "status:500"}]' ;;
TinyFileOf43Bytes)
    head -c 43 /dev/urandom >"$payload"
    fault '[]' ;;
TinyFileOf7Bytes)
    head -c 7 /dev/urandom >"$payload"
    fault '[]' ;;
ZeroSizeFails)
    fault '[{"target": "size", "action": "size:0"}]' ;;
AllocationFailureFails)
    fault '[{"target": "size", "action": "size:2000000000"}]' ;;
*)
    echo "road_test.sh: no scenario $scenario" >&2
    exit 2 ;;
esac

export KORVIX_PAYLOAD=$payload
KORVIX_PAYLOAD_SHA256=$(sha256sum "$payload" | cut -d' ' -f1)
export KORVIX_PAYLOAD_SHA256
KORVIX_FAKE_RECORD=$(winepath -w "$work/installer-record.txt")
export KORVIX_FAKE_RECORD
export KORVIX_SERVER_LOG=$work/server.log
export KORVIX_NGINX_LOG=$work/nginx/access.log
export KORVIX_BROWSER_RECORD=$work/browser.txt
xdotool mousemove 5 5 2>/dev/null || true

status=0
wine "$program" --gtest_filter="InstallRoad.$scenario" || status=$?
if [ "$status" != 0 ]; then
    echo "--- server log (last lines)" >&2
    tail -n "${KORVIX_LOG_LINES:-20}" "$work/server.log" >&2 || true
    tail -n 20 "$work/nginx/access.log" >&2 || true
fi
exit "$status"
