#!/usr/bin/env bash
# The GUI bench works: a Windows window painted under Wine on Xvfb shows its
# exact colours in a screenshot, and a real click with xdotool reaches it at
# the right client coordinates.
set -euo pipefail
: "${DISPLAY:?run on a display: tests/tools/sandbox or tests/tools/with-xvfb}"
probe=$KORVIX_TEST_TOOLS/paint_probe.exe
work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

wine "$probe" >"$work/out" 2>"$work/err" &
pid=$!
timeout 60 xdotool search --sync --onlyvisible --name '^Korvix paint probe$' >/dev/null ||
    fail "the probe window did not appear"
sleep 1  # let the first paint land

pixel() { convert "$work/shot.png" -format "%[pixel:p{$1,$2}]" info:; }
import -window root "$work/shot.png"
[ "$(pixel 150 200)" = "srgb(64,136,255)" ] || fail "blue half reads $(pixel 150 200)"
[ "$(pixel 350 200)" = "srgb(255,255,255)" ] || fail "white half reads $(pixel 350 200)"
[ "$(pixel 100 100)" = "srgb(204,204,204)" ] || fail "frame corner reads $(pixel 100 100)"
[ "$(pixel 99 99)" = "srgb(0,0,0)" ] || fail "outside the window reads $(pixel 99 99)"
cp "$work/shot.png" "${KORVIX_BUILD_DIR:-.}/bench-paint-probe.png" 2>/dev/null || true

xdotool mousemove 321 143 click 1
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid" && rc=0 || rc=$?
pid=""
[ "$rc" = 0 ] || fail "probe ended with $rc: $(cat "$work/err")"
grep -q '^click 221 43' "$work/out" || fail "probe saw: $(tr -d '\r' <"$work/out")"
echo "ok: pixels and click"
