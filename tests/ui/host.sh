# Sourced by the scenarios that drive main_dialog_host.exe: starting it,
# talking to it, screenshots and pixels, and stopping all it started.
: "${DISPLAY:?run on a display: tests/tools/sandbox or tests/tools/with-xvfb}"
host=${1:?usage: $0 main_dialog_host.exe}
out_dir=${KORVIX_BUILD_DIR:-/tmp}
work=$(mktemp -d)
pid=""
pids=()  # other processes a scenario starts
cleanup() {
    exec 3>&- 2>/dev/null || true
    if [ -n "$pid" ]; then
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -KILL "$pid" 2>/dev/null || true
    fi
    for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    cp "$work/shot.png" "$out_dir/${failure_shot:-host-failure}.png" 2>/dev/null || true
    exit 1
}

. "$KORVIX_SOURCE_DIR/tests/tools/screen.sh"

# start_host: runs the host until its dialog shows; sets X Y (its position).
# A scenario may start it again once the last one has ended.
start_host() {
    xdotool mousemove 1000 700  # no control starts under the pointer
    exec 3>&- 2>/dev/null || true
    rm -f "$work/in" "$work/out"
    mkfifo "$work/in"
    wine "$host" <"$work/in" >"$work/out" 2>"$work/err" &
    pid=$!
    exec 3>"$work/in"
    await '^ready ' || fail "the host did not start: $(cat "$work/err")"
    read -r _ X Y < <(tr -d '\r' <"$work/out" | grep '^ready ')
    for _ in $(seq 50); do
        shot
        [ "$(px "$X" "$Y")" = "srgb(204,204,204)" ] && break
        sleep 0.2
    done
    sleep 1  # the controls paint after the page
}
# await REGEX: waits for an answer line of the host; prints the last match.
await() {
    for _ in $(seq 100); do
        if tr -d '\r' <"$work/out" | grep -E "$1" >"$work/line"; then
            tail -n 1 "$work/line"
            return 0
        fi
        sleep 0.1
    done
    return 1
}
# ask COMMAND REGEX: one command, and its answer once it matches REGEX.
ask() {
    local n
    n=$(wc -l <"$work/out")
    echo "$1" >&3
    for _ in $(seq 100); do
        if tail -n +$((n + 1)) "$work/out" | tr -d '\r' | grep -E "$2" | tail -n 1 | grep .; then
            return 0
        fi
        sleep 0.1
    done
    fail "no answer to $1: $(tr -d '\r' <"$work/out" | tail -n 3)"
}
# stop_host: quits the host and checks it ended on its own with 0.
stop_host() {
    echo quit >&3
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "the host did not end"
    wait "$pid" || fail "the host ended with $?: $(cat "$work/err")"
    pid=""
}
