#!/usr/bin/env bash
# The program takes no options: with arguments (switches that installers
# often take, a folder) the licence page and the options strip with the
# install folder look exactly as without, and close, Yes still ends it with
# exit code 1000. Screenshots stay in the build folder as command-line-*.png.
set -euo pipefail
: "${DISPLAY:?run on a display: tests/tools/sandbox or tests/tools/with-xvfb}"
exe=${1:?usage: command_line_test.sh Korvix_Setup.exe}
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
    echo "FAIL (${args[*]:-no arguments}): $*" >&2
    cp "$work/shot.png" "$out_dir/command-line-failure.png" 2>/dev/null || true
    exit 1
}

X=187 Y=204  # the page centred on the 1024 x 768 screen
. "$KORVIX_SOURCE_DIR/tests/tools/screen.sh"
page() { crop 650 "$1" $X $Y; }

# run [ARG...]: starts the program, records the page and the strip as
# $page and $strip, then ends it with close and Yes.
run() {
    xdotool mousemove 5 5
    LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 wine "$tools/exit_code.exe" "$exe" "$@" >"$work/exit" 2>/dev/null &
    pid=$!
    for _ in $(seq 150); do
        shot
        [ "$(px $X $Y)" = "srgb(204,204,204)" ] && break
        sleep 0.2
    done
    [ "$(px $X $Y)" = "srgb(204,204,204)" ] || fail "the licence page did not appear"
    sleep 1  # the controls paint after the page
    shot
    page=$(page 360)
    xdotool mousemove $((X + 560)) $((Y + 335)) click 1; settle
    xdotool mousemove 5 5; settle; shot
    strip=$(page 434)
    cp "$work/shot.png" "$out_dir/command-line-$name.png"
    xdotool mousemove $((X + 560)) $((Y + 335)) click 1; settle

    # Close, then Yes.
    before_box
    xdotool mousemove $((X + 630)) $((Y + 17)) click 1
    await_new_window 10 || fail "close did not ask"
    settle
    answer_box first
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "Yes did not end the program"
    wait "$pid" || true
    pid=""
    [ "$(tr -d '\r' <"$work/exit")" = "exit=1000" ] || fail "ended with $(cat "$work/exit")"
}

args=() name=plain
run
plain_page=$page plain_strip=$strip
echo "ok: without arguments"

n=0
for line in '/S' '--help' 'D:\Games\Korvix' '/verysilent|/path="D:\Games"'; do
    IFS='|' read -r -a args <<<"$line"
    n=$((n + 1)) name=args$n
    run "${args[@]}"
    [ "$page" = "$plain_page" ] || fail "the licence page differs from the one without arguments"
    [ "$strip" = "$plain_strip" ] || fail "the options strip differs from the one without arguments"
    echo "ok: ${args[*]}"
done
