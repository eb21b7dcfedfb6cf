# Sourced by the scenarios that read the screen: screenshots, pixels and
# message boxes, all through what the X display shows. Needs $work (a
# scratch folder) and a fail function of the sourcing script.
: "${DISPLAY:?run on a display: tests/tools/sandbox or tests/tools/with-xvfb}"

shot() { import -silent -window root "$work/shot.png"; }  # -silent: no X bell
px() { convert "$work/shot.png" -format "%[pixel:p{$1,$2}]" info:; }
# crop W H X Y: a checksum of that part of the last screenshot.
crop() { convert "$work/shot.png" -crop "$1x$2+$3+$4" rgb:- | md5sum; }
expect_px() {  # expect_px X Y COLOUR WHAT (screen coordinates)
    local got
    got=$(px "$1" "$2")
    [ "$got" = "$3" ] || fail "$4: pixel $1,$2 is $got, not $3"
}
reject_px() {
    local got
    got=$(px "$1" "$2")
    [ "$got" != "$3" ] || fail "$4: pixel $1,$2 is $got"
}
settle() { sleep 0.5; }
# The dialog's top-left corner, found as its grey frame on the black root.
frame_at() {
    [ "$(px "$1" "$2")" = "srgb(204,204,204)" ] && [ "$(px $(($1 - 1)) "$2")" = "srgb(0,0,0)" ]
}
# await_screen SECONDS CHECK...: takes screenshots until CHECK succeeds.
await_screen() {
    local tries=$(($1 * 5))
    shift
    for _ in $(seq "$tries"); do
        shot
        "$@" && return 0
        sleep 0.2
    done
    return 1
}

# Message boxes show in the middle of the screen. Their X windows may stay
# listed for a moment after they closed, so what counts is what the screen
# shows there, against the screen before the box was asked for.
box_middle() { shot; convert "$work/shot.png" -crop 60x12+482+388 rgb:- | md5sum; }
box_shown() { [ "$(box_middle)" != "$(cat "$work/box-middle")" ]; }
program_windows() { { xdotool search --onlyvisible --class korvix_setup 2>/dev/null || true; } | sort; }
# before_box: remembers the screen and the windows before a box is asked for.
before_box() {
    program_windows >"$work/box-before"
    box_middle >"$work/box-middle"
}
# await_box SECONDS: waits until a box shows.
await_box() {
    for _ in $(seq $(($1 * 5))); do box_shown && return 0; sleep 0.2; done
    return 1
}
# answer_box first|second|only: clicks that button of the newest box (Yes
# and OK come first, No and Cancel second). Two buttons sit either side of
# its centre, a lone one in the middle; 23 pixels above its bottom. The
# buttons' texts are in the user's language, hence places, not names.
answer_box() {
    local box geo bx by bw bh dx
    box=$(program_windows | comm -13 "$work/box-before" - | tail -n 1)
    [ -n "$box" ] || fail "the box has no window"
    geo=$(xdotool getwindowgeometry --shell "$box")
    bx=$(sed -n 's/^X=//p' <<<"$geo") by=$(sed -n 's/^Y=//p' <<<"$geo")
    bw=$(sed -n 's/^WIDTH=//p' <<<"$geo") bh=$(sed -n 's/^HEIGHT=//p' <<<"$geo")
    case $1 in first) dx=-40 ;; second) dx=40 ;; *) dx=0 ;; esac
    xdotool mousemove $((bx + bw / 2 + dx)) $((by + bh - 23)) click 1
    xdotool mousemove 5 5  # no hover picture where the box was
}
# red_pixels W H X Y: how many pixels of that part are clearly red.
red_pixels() {
    convert "$work/shot.png" -crop "$1x$2+$3+$4" +repage -fx 'r > 0.55 && g < 0.35 && b < 0.35' \
        -format '%[fx:round(mean * w * h)]' info:
}
# await_new_window SECONDS: waits until a window of the program shows that
# was not there at before_box (a box or a dialog of the program's own).
await_new_window() {
    for _ in $(seq $(($1 * 5))); do
        [ -n "$(program_windows | comm -13 "$work/box-before" -)" ] && return 0
        sleep 0.2
    done
    return 1
}
# new_window_geometry: BX BY BW BH of the newest window of the program.
new_window_geometry() {
    local win geo
    win=$(program_windows | comm -13 "$work/box-before" - | tail -n 1)
    [ -n "$win" ] || fail "no new window"
    geo=$(xdotool getwindowgeometry --shell "$win")
    BX=$(sed -n 's/^X=//p' <<<"$geo") BY=$(sed -n 's/^Y=//p' <<<"$geo")
    BW=$(sed -n 's/^WIDTH=//p' <<<"$geo") BH=$(sed -n 's/^HEIGHT=//p' <<<"$geo")
}
box_gone() { for _ in $(seq 50); do box_shown || return 0; sleep 0.2; done; return 1; }
