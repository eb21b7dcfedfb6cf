#!/usr/bin/env bash
# Hide to the notification area and back, with real clicks: on the
# installing page the hide button hides the dialog and adds the icon, whose
# balloon shows; a click on the icon in Wine's own tray window (there is no
# X tray on Xvfb) brings the same page back and removes the icon. Judged on
# the screen; the screenshots stay in the build folder as tray-*.png. Then
# the icon's life: back after the notification area is made anew, gone when
# the program ends hidden, and no hiding without an icon.
set -euo pipefail
source "$(dirname "$0")/host.sh"
failure_shot=tray-failure

tray_window() { { xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null || true; } | head -n 1; }
# The balloon opens below the tray, at the top-left corner of the screen.
balloon_area="260 60 0 44"
corner="260 84 0 20"  # the tray window and the balloon
# mostly_white W H X Y: more than half of that area is light.
mostly_white() {
    local mean
    mean=$(convert "$work/shot.png" -crop "$1x$2+$3+$4" -colorspace gray -threshold 80% \
        -format "%[fx:mean]" info:)
    awk -v m="$mean" 'BEGIN { exit !(m > 0.5) }'
}

start_host
ask installing '^page ' | grep -qx 'page 1' || fail "the host did not reach the installing page"
settle; shot
cp "$work/shot.png" "$out_dir/tray-installing.png"
[ "$(px $((X + 649)) $((Y + 359)))" = "srgb(204,204,204)" ] || fail "no dialog frame"
[ "$(px $((X + 100)) $((Y + 100)))" != "srgb(255,255,255)" ] || fail "no slide on the installing page"
page=$(crop 650 360 "$X" "$Y")
empty_balloon=$(crop $balloon_area)
empty_corner=$(crop $corner)
[ -z "$(tray_window)" ] || fail "a tray window before the icon was added"

# The hide button (545, 312, 57 x 26).
xdotool mousemove $((X + 573)) $((Y + 325)) click 1
tray=""
for _ in $(seq 50); do
    tray=$(tray_window)
    [ -n "$tray" ] && break
    sleep 0.2
done
[ -n "$tray" ] || fail "no tray window after hiding"
ask state '^visible ' | grep -qx 'visible 0 icon 1' || fail "hidden with an icon expected"
shot
[ "$(px $((X + 100)) $((Y + 100)))" = "srgb(0,0,0)" ] || fail "the dialog is still on the screen"

# Wine opens the balloon a moment after the icon appears.
for _ in $(seq 50); do
    shot
    [ "$(crop $balloon_area)" != "$empty_balloon" ] && mostly_white $balloon_area && break
    sleep 0.2
done
cp "$work/shot.png" "$out_dir/tray-balloon.png"
[ "$(crop $balloon_area)" != "$empty_balloon" ] || fail "no balloon below the tray"
mostly_white $balloon_area || fail "the balloon area is not a light balloon"
echo "ok: hidden, icon and balloon shown"

# The first icon sits at the left end of the tray window.
geo=$(xdotool getwindowgeometry --shell "$tray")
icon_x=$(($(sed -n 's/^X=//p' <<<"$geo") + 9)) icon_y=$(($(sed -n 's/^Y=//p' <<<"$geo") + 9))
xdotool mousemove "$icon_x" "$icon_y"; settle
xdotool mousedown 1; settle
ask state '^visible ' | grep -qx 'visible 0 icon 1' || fail "pressing on the icon restored"
xdotool mouseup 1
for _ in $(seq 50); do
    shot
    [ "$(crop 650 360 "$X" "$Y")" = "$page" ] && [ "$(crop $corner)" = "$empty_corner" ] && break
    sleep 0.2
done
cp "$work/shot.png" "$out_dir/tray-restored.png"
[ "$(crop 650 360 "$X" "$Y")" = "$page" ] || fail "the installing page did not come back as it was"
ask state '^visible ' | grep -qx 'visible 1 icon 0' || fail "shown without an icon expected"
[ -z "$(tray_window)" ] && [ "$(crop $corner)" = "$empty_corner" ] ||
    fail "the tray window or the balloon stayed"
echo "ok: a click on the icon restored the page and removed the icon"

xdotool mousemove $((X + 573)) $((Y + 325)) click 1
ask state '^visible ' | grep -qx 'visible 0 icon 1' || fail "hidden with an icon expected again"
ask newtray '^visible ' | grep -qx 'visible 0 icon 1' || fail "the new notification area got no icon"
ask end '^ended ' | grep -qx 'ended icon 0' || fail "the icon outlived the program"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid" || fail "the host ended with $?"
pid=""
echo "ok: the icon came back to a new notification area and went with the program"

start_host
ask installing '^page ' | grep -qx 'page 1' || fail "the host did not reach the installing page"
ask noicon '^noicon'
xdotool mousemove $((X + 573)) $((Y + 325)) click 1
settle
ask state '^visible ' | grep -qx 'visible 1 icon 0' || fail "hidden without an icon to bring it back"
echo "ok: without an icon the window stays"
stop_host
