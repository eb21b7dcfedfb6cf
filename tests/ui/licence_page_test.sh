#!/usr/bin/env bash
# The real Korvix_Setup.exe as a user meets it, per UI language: the licence
# page centred on the 1024 x 768 screen, the pictures and the install-path
# label where the set-up puts them (read from screenshots), the options
# strip, dragging, Esc, Tab, and the close paths with the full exit code.
# Screenshots are kept in the build folder as licence-<lang>.png.
set -euo pipefail
: "${DISPLAY:?run on a display: tests/tools/sandbox or tests/tools/with-xvfb}"
exe=${1:?usage: licence_page_test.sh Korvix_Setup.exe [LANG...]}
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
    echo "FAIL ($lang): $*" >&2
    cp "$work/shot.png" "$out_dir/licence-failure.png" 2>/dev/null || true
    exit 1
}

. "$KORVIX_SOURCE_DIR/tests/tools/screen.sh"
# Leftmost column (screen) between X0 and X1 in rows Y0..Y1 with dark text.
first_dark_column() {
    convert "$work/shot.png" -crop $(($2 - $1))x$(($4 - $3))+$1+$3 +repage -colorspace gray \
        -threshold 60% -negate -format "%@" info: | sed -E 's/^[0-9]+x[0-9]+\+([0-9]+)\+.*/\1/' |
        awk -v x0="$1" '{ print $1 + x0 }'
}

start() {  # start LANG: the program under exit_code, until its page shows
    xdotool mousemove 5 5  # no button starts under the pointer
    LANG=$1.UTF-8 LC_ALL=$1.UTF-8 wine "$tools/exit_code.exe" "$exe" >"$work/exit" 2>/dev/null &
    pid=$!
    for _ in $(seq 150); do
        shot
        if frame_at 187 204; then
            sleep 1  # the controls paint after the page
            shot
            return 0
        fi
        sleep 0.2
    done
    fail "the licence page did not appear centred at 187, 204"
}

# ask [CMD...]: clicks the close button (or runs CMD...) and waits for the box.
ask() {
    before_box
    if [ $# -gt 0 ]; then "$@" >/dev/null 2>&1; else xdotool mousemove $((X + 630)) $((Y + 17)) click 1; fi
    await_box 10
}
answer() { if [ "$1" = yes ]; then answer_box first; else answer_box second; fi; }

finish() {  # finish: ends the program through the close button and Yes
    ask || fail "no confirmation box"
    answer yes
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "Yes did not end the program"
    wait "$pid" || true
    pid=""
    [ "$(tr -d '\r' <"$work/exit")" = "exit=1000" ] || fail "ended with $(cat "$work/exit")"
}

declare -A label_x=([en_US]=42 [de_DE]=42 [ja_JP]=42 [fr_FR]=12 [it_IT]=12 [zh_TW]=82)

for lang in "${langs[@]}"; do
    start "$lang"
    X=187 Y=204  # 1024 x 768, work area the whole screen: (512 - 325, 384 - 180)
    frame_at $((X + 649)) $((Y + 359)) || true
    expect_px $((X + 649)) $((Y + 359)) "srgb(204,204,204)" "bottom-right frame corner"
    expect_px $((X + 5)) $((Y + 312)) "srgb(224,224,224)" "hairline at 312"
    expect_px $((X + 251)) $((Y + 200)) "srgb(64,136,255)" "install button"
    reject_px $((X + 630)) $((Y + 17)) "srgb(255,255,255)" "close glyph"
    reject_px $((X + 600)) $((Y + 17)) "srgb(255,255,255)" "minimise glyph"
    reject_px $((X + 20)) $((Y + 336)) "srgb(255,255,255)" "agreement box border"
    reject_px $((X + 230)) $((Y + 130)) "srgb(255,255,255)" "product logo"
    cp "$work/shot.png" "$out_dir/licence-$lang.png"

    # The options strip: 434 pixels high, the window does not move.
    xdotool mousemove $((X + 560)) $((Y + 335)) click 1; settle; shot
    expect_px $((X + 300)) $((Y + 433)) "srgb(204,204,204)" "frame around the full 434"
    expect_px $((X + 5)) $((Y + 359)) "srgb(224,224,224)" "hairline at 359"
    reject_px $((X + 5)) $((Y + 400)) "srgb(255,255,255)" "the strip is not painted white"
    reject_px $((X + 300)) $((Y + 381)) "srgb(240,240,240)" "path frame"
    reject_px $((X + 300)) $((Y + 381)) "srgb(255,255,255)" "path frame"
    frame_at $X $Y || fail "the window moved when the strip opened"
    expect_px $((X + 251)) $((Y + 200)) "srgb(64,136,255)" "install button after the resize"
    reject_px $((X + 20)) $((Y + 336)) "srgb(255,255,255)" "agreement box after the resize"
    left=$(first_dark_column $X $((X + 148)) $((Y + 389)) $((Y + 405)))
    want=$((X + ${label_x[$lang]}))
    [ -n "$left" ] && [ "$left" -ge "$want" ] && [ "$left" -lt $((want + 10)) ] ||
        fail "install-path label text starts at ${left:-nowhere}, its box at $want"
    cp "$work/shot.png" "$out_dir/licence-$lang-options.png"
    xdotool click 1; settle; shot
    expect_px $((X + 300)) $((Y + 359)) "srgb(204,204,204)" "back to 360 pixels"
    expect_px $((X + 251)) $((Y + 200)) "srgb(64,136,255)" "install button after closing the strip"
    echo "ok: $lang page, strip and label"

    if [ "$lang" = en_US ]; then
        # Esc changes nothing.
        xdotool mousemove $((X + 100)) $((Y + 100)) key Escape; settle; shot
        frame_at $X $Y || fail "Esc changed the window"
        kill -0 "$pid" || fail "Esc ended the program"

        # Dragging the white background moves it; pressing a button does not.
        xdotool mousemove $((X + 100)) $((Y + 100)) mousedown 1
        xdotool mousemove $((X + 140)) $((Y + 120)); settle
        xdotool mousemove $((X + 160)) $((Y + 140)) mouseup 1; settle; shot
        frame_at $((X + 60)) $((Y + 40)) || fail "dragging the background did not move it by 60, 40"
        X=$((X + 60)) Y=$((Y + 40))
        xdotool mousemove $((X + 300)) $((Y + 210)) mousedown 1
        xdotool mousemove $((X + 340)) $((Y + 250)); settle
        xdotool mouseup 1; settle; shot
        frame_at $X $Y || fail "pressing the install button moved the window"

        # Tab: five steps from the agreement box, the first stop, reach the
        # path box.
        xdotool mousemove $((X + 560)) $((Y + 335)) click 1; settle
        xdotool mousemove $((X + 300)) $((Y + 100)) click 1; settle  # back to the first control
        shot
        before=$(crop 300 20 $((X + 152)) $((Y + 389)))
        xdotool key Tab Tab Tab Tab Tab; settle
        xdotool type 'QQQQ'; settle
        shot
        after=$(crop 300 20 $((X + 152)) $((Y + 389)))
        [ "$before" != "$after" ] || fail "after five Tabs the typing did not reach the path box"
        xdotool mousemove $((X + 560)) $((Y + 335)) click 1; settle

        # Close button: No keeps everything; a close request asks again.
        ask || fail "close did not ask"
        timeout 5 xdotool search --onlyvisible --name "^Korvix Setup\$" >/dev/null ||
            fail "the box is not captioned Korvix Setup"
        answer no
        box_gone || fail "No did not close the box"
        kill -0 "$pid" || fail "No ended the program"
        frame_at $X $Y || fail "No changed the window"
        ask wine "$tools/post_close.exe" || fail "WM_CLOSE did not ask"
        answer no
        box_gone || fail "No did not close the box"
        kill -0 "$pid" || fail "No ended the program"
        echo "ok: Esc, drag, Tab, close asks"
    fi
    finish
    echo "ok: $lang ends with exit code 1000"
done
