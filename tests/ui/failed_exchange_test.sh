#!/usr/bin/env bash
# The path box read back into the install folder: a folder typed for real
# arrives whole, without a beep and without moving the focus; when the box
# announces more text than it gives, the exchange fails, beeps once and puts
# the focus on the box. Wine rings the beep as an X bell, which xkbevd sees.
set -euo pipefail
source "$(dirname "$0")/host.sh"
failure_shot=exchange-failure

bells=$work/bells
: >"$bells"
cat >"$work/xkbevd.cf" <<EOF
Bell() shell "echo bell >>$bells"
EOF
xkbevd -cfg "$work/xkbevd.cf" >"$work/xkbevd.out" 2>&1 &
pids+=($!)
for _ in $(seq 50); do grep -q bell "$work/xkbevd.out" && break; sleep 0.1; done
grep -q bell "$work/xkbevd.out" || fail "xkbevd did not start: $(cat "$work/xkbevd.out")"
rang() { echo $(($(wc -l <"$bells") - ${rung_before:-0})); }

start_host
# Open the options strip, add a folder to the path box, then Tab away.
xdotool mousemove $((X + 560)) $((Y + 335)) click 1; settle
xdotool mousemove $((X + 300)) $((Y + 399)) click 1; settle
xdotool key End; xdotool type '\Korvix'; settle
xdotool key Tab; settle
rung_before=$(rang)

answer=$(ask exchange '^exchange ')
[[ "$answer" =~ ^exchange\ 1\ focus\ 0\ path\ [A-Z]:.*'\Korvix'$ ]] ||
    fail "a good exchange answered: $answer"
sleep 1
[ "$(rang)" = 0 ] || fail "a good exchange beeped"
echo "ok: the typed folder arrived, no beep, the focus stayed"

ask overstate '^overstating' >/dev/null
answer=$(ask exchange '^exchange ')
[[ "$answer" =~ ^exchange\ 0\ focus\ 1 ]] || fail "a short read answered: $answer"
for _ in $(seq 50); do [ "$(rang)" -gt 0 ] && break; sleep 0.1; done
sleep 1
[ "$(rang)" = 1 ] || fail "a failed exchange rang $(rang) bells, not 1"
echo "ok: a short read failed, beeped once and focused the path box"
stop_host
