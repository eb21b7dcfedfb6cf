#!/usr/bin/env bash
# The real Korvix_Setup.exe at 150 % and 200 % display scaling (the prefix's
# LogPixels 144 and 192), per UI language: the window is 975 x 540 and
# 1300 x 720, centred on the screen, with its frame, hairline and install
# button at their places scaled, its pictures sharp at 200 % (the large
# set, drawn at its size), and the options strip opens to its scaled
# height. Screenshots are kept in the build folder as dpi<DPI>-<lang>.png and
# dpi<DPI>-<lang>-options.png, for review. Needs a screen that holds the
# largest window, 1300 x 868, centred as at 720 pixels high (1600 x 1100).
set -euo pipefail
: "${DISPLAY:?run on a display: tests/tools/sandbox or tests/tools/with-xvfb}"
exe=${1:?usage: dpi_test.sh Korvix_Setup.exe [LANG...]}
shift
langs=("$@")
[ ${#langs[@]} -gt 0 ] || langs=(en_US de_DE fr_FR it_IT ja_JP zh_TW)
tools=$KORVIX_TEST_TOOLS
out_dir=${KORVIX_BUILD_DIR:-/tmp}
work=$(mktemp -d)
pid=""
cleanup() {
    [ -z "$pid" ] || kill -KILL "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL ($dpi, $lang): $*" >&2
    cp "$work/shot.png" "$out_dir/dpi-failure.png" 2>/dev/null || true
    exit 1
}
. "$KORVIX_SOURCE_DIR/tests/tools/screen.sh"
read -r screen_w screen_h < <(xdpyinfo | sed -n 's/^ *dimensions: *\([0-9]*\)x\([0-9]*\) .*/\1 \2/p')
scaled() { echo $(((2 * $1 * dpi + 96) / 192)); }
lang=-

for dpi in 144 192; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    W=$(scaled 650) H=$(scaled 360)
    [ $((screen_h / 2 - H / 2 + $(scaled 434))) -le "$screen_h" ] || fail "the screen is too small"
    X=$((screen_w / 2 - W / 2)) Y=$((screen_h / 2 - H / 2))  # as the program centres it
    for lang in "${langs[@]}"; do
        xdotool mousemove 5 5
        LANG=$lang.UTF-8 LC_ALL=$lang.UTF-8 wine "$tools/exit_code.exe" "$exe" >"$work/exit" 2>/dev/null &
        pid=$!
        await_screen 30 frame_at "$X" "$Y" || fail "no ${W} x ${H} window centred at $X, $Y"
        sleep 1  # the controls paint after the page
        shot
        cp "$work/shot.png" "$out_dir/dpi$dpi-$lang.png"
        expect_px $((X + W - 1)) $((Y + H - 1)) "srgb(204,204,204)" "bottom-right frame corner"
        expect_px $((X + W)) $((Y + H - 1)) "srgb(0,0,0)" "nothing right of the frame"
        expect_px $((X + $(scaled 5))) $((Y + $(scaled 312))) "srgb(224,224,224)" "hairline"
        expect_px $((X + $(scaled 251))) $((Y + $(scaled 200))) "srgb(64,136,255)" "install button"
        if [ "$dpi" = 192 ]; then
            # Drawn at twice the size, not stretched: the check box's border
            # is two dark columns, then its white inside, with no grey between.
            y=$((Y + $(scaled 336)))
            for col in 0 1; do
                r=$(px $((X + $(scaled 20) + col)) "$y" | sed 's/srgb(\([0-9]*\),.*/\1/')
                [ "$r" -le 180 ] || fail "check box border column $col is $(px $((X + $(scaled 20) + col)) "$y")"
            done
            r=$(px $((X + $(scaled 20) + 2)) "$y" | sed 's/srgb(\([0-9]*\),.*/\1/')
            [ "$r" -ge 245 ] || fail "grey inside the check box's border: $(px $((X + $(scaled 20) + 2)) "$y")"
        fi
        # The options strip: the path label and box in the label font at the
        # window's DPI.
        xdotool mousemove $((X + $(scaled 530))) $((Y + $(scaled 335))) click 1 mousemove 5 5
        settle
        shot
        cp "$work/shot.png" "$out_dir/dpi$dpi-$lang-options.png"
        expect_px $((X + W - 1)) $((Y + $(scaled 434) - 1)) "srgb(204,204,204)" "frame under the strip"
        # Ended as a user would: the close request, then Enter on the box's
        # default button, Yes (keys go where the pointer rests: on the box).
        before_box
        wine "$tools/post_close.exe" >/dev/null 2>&1 || fail "no window to close"
        await_new_window 10 || fail "close did not ask"
        box=$(program_windows | comm -13 "$work/box-before" - | tail -n 1)
        eval "$(xdotool getwindowgeometry --shell "$box")"
        xdotool mousemove $((X + WIDTH / 2)) $((Y + 12)) key Return
        X=$((screen_w / 2 - W / 2)) Y=$((screen_h / 2 - H / 2))
        for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        wait "$pid" || true
        pid=""
        [ "$(tr -d '\r' <"$work/exit")" = "exit=1000" ] || fail "ended with $(cat "$work/exit")"
        echo "ok: $dpi DPI, $lang"
    done
done
