# Sourced by the end-to-end scenarios: the real program (built against
# localhost) under Wine on the sandbox's Xvfb, nginx on localhost:443 and :80
# (also the analytics collector), the fake installer as the payload, a
# browser stand-in, and helpers that act and look only as a user does:
# pointer and keys with xdotool at screen coordinates, screenshots.
set -eEuo pipefail
# A step that fails outside fail() still says which one it was.
trap 'echo "FAIL ($scenario): exit $? at line $LINENO of ${BASH_SOURCE[0]##*/}: $BASH_COMMAND" >&2' ERR
tools=$KORVIX_SOURCE_DIR/tests/tools
. "$tools/require-sandbox"
program=$KORVIX_BUILD_DIR/Korvix_Setup_localhost.exe
artefacts=$KORVIX_BUILD_DIR/e2e
mkdir -p "$artefacts"
rm -f "$artefacts/${scenario:-e2e}.program-trace"
work=$(mktemp -d)
# Every step with its time, kept beside the screenshots: a test that runs out
# of time says nothing else about where it stood.
exec 9>"$artefacts/${scenario:-e2e}.trace"
BASH_XTRACEFD=9
PS4='+ ${EPOCHREALTIME} ${BASH_SOURCE[0]##*/}:$LINENO: '
set -x
pid=""
fault_pid=""
scenario=${scenario:-e2e}
. "$tools/download-bench.sh"
# The program runs as a child of exit_code.exe, which it outlives.
end_program() {
    end_windows_program Korvix_Setup_localhost.exe
    if [ -n "$pid" ]; then kill -KILL "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    pid=""
}
stop_servers() {
    "$tools/nginx-server" stop "$work/nginx" 2>/dev/null || true
    if [ -n "$fault_pid" ]; then kill "$fault_pid" 2>/dev/null || true; wait "$fault_pid" 2>/dev/null || true; fi
    fault_pid=""
}
cleanup() {
    end_program
    stop_servers
    unregister_browser_stand_in
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL ($scenario): $*" >&2
    shot 2>/dev/null || true  # the screen as it is now, not at the last look
    cp "$work/shot.png" "$artefacts/$scenario-failure.png" 2>/dev/null || true
    tail -n 5 "$work/nginx/access.log" >&2 2>/dev/null || true
    grep -a 'OutputDebugStringA' "$artefacts/$scenario.program-trace" 2>/dev/null | tail -n 5 >&2 || true
    if [ -s "$work/markers.txt" ]; then echo "planted DLLs loaded: $(tr -d '\r' <"$work/markers.txt")" >&2; fi
    exit 1
}
. "$tools/screen.sh"

# Colours of the skin, as the screen shows them.
BLUE="srgb(64,136,255)"      # buttons and the filled bar
TRACK="srgb(197,219,255)"    # the bar's empty track
WHITE="srgb(255,255,255)"

# The bench: a CA trusted in the prefix, the payload, the browser stand-in.
trust_test_ca
mkdir -p "$work/nginx"
payload=$work/www/korvix/velmora-korvix_setup.exe
make_fake_payload "$payload" 12000000
payload_sha=$(sha256sum "$payload" | cut -d' ' -f1)
register_browser_stand_in
KORVIX_FAKE_RECORD=$(windows_path "$work/installer.txt")
KORVIX_FAKE_PRODUCT_RECORD=$(windows_path "$work/product.txt")
export KORVIX_FAKE_RECORD KORVIX_FAKE_PRODUCT_RECORD
# The child takes a while, as a real installer does: the slideshow runs on.
export KORVIX_FAKE_INSTALL_MS=${KORVIX_FAKE_INSTALL_MS:-6000}

# serve tls|http [RATE]: nginx with the payload, every connection at RATE
# per second (100k: the 12 MB take about 3 s, long enough to watch).
serve() {
    local rate=${2:-100k}
    if [ "$1" = tls ]; then
        NGINX_HTTP_EXTRA="limit_rate $rate;" "$tools/nginx-server" start "$work/nginx" "$work/www" \
            "$work/ca/localhost.pem" "$work/ca/localhost.key"
    else
        NGINX_HTTP_EXTRA="limit_rate $rate;" "$tools/nginx-server" start "$work/nginx" "$work/www"
    fi
}
kill_server() { "$tools/nginx-server" kill "$work/nginx"; }

# start_program LANG: the program under exit_code.exe (for the full exit
# code), until its licence page shows centred; sets X Y.
start_program() {
    xdotool mousemove 5 5  # no button starts under the pointer
    rm -f "$work/exit"
    : >"$work/server.log"
    # The program's trace lines (its debugger output, which Wine writes as
    # warnings of its seh channel) are kept beside the screenshots.
    LANG=$1.UTF-8 LC_ALL=$1.UTF-8 WINEDEBUG=-all,warn+seh wine "$KORVIX_TEST_TOOLS/exit_code.exe" \
        "$program" >"$work/exit" 2>>"$artefacts/$scenario.program-trace" &
    pid=$!
    X=187 Y=204  # 650 x 360 centred on 1024 x 768
    await_screen 30 frame_at $X $Y || fail "the licence page did not appear centred"
    sleep 1  # the controls paint after the page
    shot
}
# at DX DY: the pointer to that point of the dialog; click DX DY: and a click.
at() { xdotool mousemove $((X + $1)) $((Y + $2)); }
click() { at "$1" "$2"; xdotool click 1; }
away() { xdotool mousemove 5 5; }
# second_copy LANG: another copy started while one runs ends by itself
# within 20 s with exit code 1000.
second_copy() {
    local second
    LANG=$1.UTF-8 LC_ALL=$1.UTF-8 wine "$KORVIX_TEST_TOOLS/exit_code.exe" "$program" \
        >"$work/exit2" 2>/dev/null &
    second=$!
    for _ in $(seq 200); do kill -0 "$second" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$second" 2>/dev/null && fail "the second copy did not end"
    wait "$second" || true
    [ "$(tr -d '\r' <"$work/exit2")" = "exit=1000" ] || fail "the second copy ended with $(cat "$work/exit2")"
}
# ended_with CODE: the program ends by itself within two minutes (what it
# opens goes through the desktop's shell, which a loaded machine answers
# slowly) with that exit code.
ended_with() {
    for _ in $(seq 1200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "the program did not end"
    wait "$pid" || true
    pid=""
    [ "$(tr -d '\r' <"$work/exit")" = "exit=$1" ] || fail "ended with $(cat "$work/exit"), not $1"
}

# The dialog's controls, in dialog coordinates.
tick_agreement() { click 27 336; settle; }
toggle_options() { click 530 335; settle; }
press_install() { click 325 218; away; }
press_start() { click 325 218; away; }
press_hide() { click 573 325; away; }
press_close() { click 630 17; }
press_browse() { click 526 397; }
# type_folder TEXT: replaces the text of the path box by TEXT.
type_folder() {
    click 460 399
    xdotool key End
    for _ in $(seq 80); do xdotool key BackSpace; done
    xdotool type --delay 20 "$1"
    settle
}

# What the screen shows.
on_installing_page() { local c; c=$(px $((X + 50)) $((Y + 314))); [ "$c" = "$BLUE" ] || [ "$c" = "$TRACK" ]; }
on_finished_page() { [ "$(px $((X + 50)) $((Y + 314)))" = "$WHITE" ] && [ "$(px $((X + 251)) $((Y + 200)))" = "$BLUE" ] && frame_at $X $Y; }
# The program's dialog is unmapped from the X display. Wine (no window
# manager here) sends a hide made outside a click to the X server only when
# it next handles X input, so the pointer moves a little first.
dialog_unmapped() {
    local win
    xdotool mousemove 6 6 mousemove 5 5
    win=$(program_window)
    [ -n "$win" ] && xwininfo -id "$win" | grep -q 'Map State: IsUnMapped'
}
# program_window: the X window of the program's dialog (650 pixels wide).
program_window() {
    xdotool search --class korvix_setup 2>/dev/null | while read -r w; do
        xwininfo -id "$w" 2>/dev/null | grep -q 'Width: 650' && echo "$w"; done | head -n 1
}
window_gone() { [ "$(px $X $Y)" = "srgb(0,0,0)" ] && [ "$(px $((X + 300)) $((Y + 100)))" = "srgb(0,0,0)" ]; }
# bar_fill: how many pixels of the bar are filled.
bar_fill() { convert "$work/shot.png" -crop 470x1+$((X + 48))+$((Y + 314)) +repage txt:- | grep -ci '#4088FF' || true; }
slide_crop() { crop 370 60 $((X + 40)) $((Y + 80)); }
status_crop() { crop 330 14 $((X + 49)) $((Y + 326)); }
tray_window() { { xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null || true; } | head -n 1; }
keep() { cp "$work/shot.png" "$artefacts/$1.png"; }
# A failed installation leaves nothing: no file in the download folder (nor
# a folder the run made beside it), no program or installer of ours still
# running.
downloads="$WINEPREFIX/drive_c/users/Public/Documents/Velmora"
nothing_left() {
    local left
    left=$(ls -Ad "$downloads"-* "$downloads"/* 2>/dev/null || true)
    [ -z "$left" ] || fail "left of the download: $left"
    local ours p
    ours=$(readlink /proc/self/ns/net)
    for p in $(pgrep -f 'Korvix_Setup_localhost.exe|Velmora[^ ]*.velmora-korvix_setup.exe' || true); do
        [ "$(readlink "/proc/$p/ns/net" 2>/dev/null)" = "$ours" ] && fail "still running: $(tr '\0' ' ' <"/proc/$p/cmdline")"
    done
    return 0
}
# failure_box NAME SECONDS: the program's box shows within SECONDS (a new
# window of the program, whatever the page under it does); kept as NAME.
failure_box() {
    await_new_window "$2" || fail "no box within $2 s"
    sleep 1
    shot
    keep "$1"
}
record_value() { tr -d '\r' <"$work/$1" 2>/dev/null | sed -n "s/^$2=//p"; }
