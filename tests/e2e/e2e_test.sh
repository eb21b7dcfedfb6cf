#!/usr/bin/env bash
# e2e_test.sh SCENARIO [LANG]: one end-to-end scenario of the real program,
# driven only as a person would (see e2e-lib.sh). Screenshots of the pages
# are kept in the build folder under e2e/.
scenario=${1:?usage: e2e_test.sh SCENARIO [LANG]}
lang=${2:-en_US}
scenario=$scenario-$lang
. "$(dirname "$0")/e2e-lib.sh"

# The road as far as the finished page, with the folder box set to FOLDER
# (created first unless told "missing"); keeps screenshots of the pages.
road_to_finished() {  # road_to_finished FOLDER [missing]
    local folder=$1 unix
    unix=${folder#C:\\}
    if [ "${2:-}" != missing ]; then
        mkdir -p "$WINEPREFIX/drive_c/${unix//\\//}"
    fi
    keep "$scenario-licence"
    tick_agreement
    toggle_options
    type_folder "$folder"
    keep "$scenario-options"
    press_install
    await_screen 20 on_installing_page || fail "no installing page after install"
    # Progress and status text rise while the download runs (over port 80
    # only once the size query's tries over HTTPS are spent, about 40 s).
    local fill1 status1 slide1
    fill1=$(bar_fill) status1=$(status_crop) slide1=$(slide_crop)
    keep "$scenario-installing"
    await_screen 60 eval '[ "$(bar_fill)" -gt "$fill1" ] && [ "$(status_crop)" != "$status1" ]' ||
        fail "the bar and the status text did not move ($fill1 then $(bar_fill) pixels)"
    # The slideshow moves on every 5 s (the child takes 6 s).
    await_screen 12 eval '[ "$(slide_crop)" != "$slide1" ]' || fail "the slideshow did not change"
    await_screen 60 on_finished_page || fail "no finished page"
    keep "$scenario-finished"
    [ "$(record_value installer.txt sha256)" = "$payload_sha" ] || fail "the installer arrived changed"
}

# installing_in_tray RATE: the road to the installing page, served at RATE,
# then hidden to the notification area.
installing_in_tray() {
    serve tls "$1"
    start_program "$lang"
    tick_agreement
    press_install
    await_screen 20 on_installing_page || fail "no installing page"
    press_hide
    await_screen 10 window_gone || fail "the window stayed"
    [ -n "$(tray_window)" ] || fail "no icon in the notification area"
}

# probe NAME: what MSAA tells a screen reader of every visible control,
# kept as $artefacts/$scenario-msaa-NAME.txt; no control may go unnamed
# (the path label's static is named by its text, the bar by its value).
# The window's title and focus are read without MSAA. False when this Wine
# reaches no control's object from another process, not even a standard
# static's, which the program does not serve (measured: the 64-bit Wine 8
# answers E_NOINTERFACE for every one); the MSAA checks are skipped then.
probe() {
    wine "$KORVIX_TEST_TOOLS/msaa_probe.exe" >"$work/probe-$1" 2>/dev/null || fail "the MSAA probe found nothing"
    tr -d '\r' <"$work/probe-$1" >"$work/probe-$1.txt" && mv "$work/probe-$1.txt" "$work/probe-$1"
    cp "$work/probe-$1" "$artefacts/$scenario-msaa-$1.txt"
    if grep -q '^id=[0-9]* class=Static error=' "$work/probe-$1"; then
        echo "MSAA not reachable across processes in this Wine: the $1 checks are skipped"
        return 1
    fi
    ! grep -E '^id=' "$work/probe-$1" | grep -v 'value=.' | grep -q ' name= ' ||
        fail "an unnamed control on the $1 probe: $(grep ' name= ' "$work/probe-$1")"
}
# agreement_checked NAME: yes when the probe NAME read the agreement box ticked.
agreement_checked() {
    local state
    state=$(sed -n 's/^id=1003 .*state=0x\([0-9a-f]*\) .*/\1/p' "$work/probe-$1")
    if (((16#${state:-0} & 0x10) != 0)); then echo yes; else echo no; fi
}

# refused CASE: the road ends in the network box; OK opens the address;
# the child never ran and nothing is left.
refused() {
    rm -f "$work/installer.txt"
    : >"$work/browser.txt"
    start_program "$lang"
    tick_agreement
    before_box
    press_install
    failure_box "$scenario-$1" 120
    answer_box first
    ended_with 1000
    [ ! -e "$work/installer.txt" ] || fail "$1: the refused installer ran"
    for _ in $(seq 100); do [ -s "$work/browser.txt" ] && break; sleep 0.1; done
    [ "$(cat "$work/browser.txt")" = "https://localhost/korvix/velmora-korvix_setup.exe" ] ||
        fail "$1: the browser got: $(cat "$work/browser.txt")"
    nothing_left
}

case $1 in
happy)  # the whole road; start the product; the program ends with 1000
    serve tls
    start_program "$lang"
    folder="C:\\Korvix E2E\\$lang"
    road_to_finished "$folder"
    [ "$(record_value installer.txt cmdline)" = " /verysilent /velmora_down /path=\"$folder\"" ] ||
        fail "the child got: $(record_value installer.txt cmdline)"
    # A double click: the window goes at the first, the second starts nothing.
    at 325 218
    xdotool click --repeat 2 --delay 120 1
    away
    ended_with 1000
    for _ in $(seq 100); do [ -s "$work/product.txt" ] && break; sleep 0.1; done
    sleep 2  # a second start would show by now
    [ "$(grep -c '^cwd=' "$work/product.txt")" = 1 ] || fail "the product started $(grep -c '^cwd=' "$work/product.txt") times"
    [ "$(record_value product.txt cwd)" = "$folder\\Velmora\\Velmora Korvix" ] ||
        fail "the product ran in $(record_value product.txt cwd)"
    [ "$(record_value product.txt installer_visible)" = 0 ] ||
        fail "the installer's window was still on screen when the product started"
    # Started by the desktop's shell, as the desktop user, not by the program.
    [ "$(record_value product.txt parent)" = explorer.exe ] ||
        fail "the product was started by $(record_value product.txt parent)"
    grep -q 'ea=Downloader_Installed' "$work/nginx/access.log" || fail "no installed event"
    ;;

planted)  # DLLs planted beside the program, preferred by Wine: the road runs, none is loaded
    # Every DLL that a process of the road loads but the three the loader
    # takes from System32 on every Windows (kernel32, msvcrt, ntdll), each a
    # marker that records who loaded it and refuses to load.
    names="advapi32 bcrypt combase comctl32 crypt32 dbghelp dnsapi gdi32 gdiplus imagehlp imm32
        iphlpapi jsproxy kerberos mpr msv1_0 netapi32 nsi ole32 oleaut32 propsys rpcrt4 rsaenh
        schannel secur32 sechost shcore shell32 shlwapi ucrtbase user32 uxtheme version
        win32u windowscodecs winhttp wininet wintrust ws2_32 zlib1 msimg32 cryptnet dhcpcsvc
        cryptui"
    mkdir -p "$work/Downloads"
    cp "$program" "$work/Downloads/"
    program=$work/Downloads/${program##*/}
    overrides=$WINEDLLOVERRIDES
    for name in $names; do
        cp "$KORVIX_BUILD_DIR/tests/fixtures/marker.dll" "$work/Downloads/$name.dll"
        overrides="$overrides;$name=n,b"
    done
    KORVIX_MARKER_LOG=$(windows_path "$work/markers.txt")
    export KORVIX_MARKER_LOG WINEDLLOVERRIDES=$overrides
    serve tls
    start_program "$lang"
    road_to_finished "C:\\Korvix E2E\\planted"
    press_start
    ended_with 1000
    for _ in $(seq 100); do [ -s "$work/product.txt" ] && break; sleep 0.1; done
    [ -s "$work/product.txt" ] || fail "the product did not start"
    [ ! -s "$work/markers.txt" ] || fail "planted DLLs were loaded: $(tr -d '\r' <"$work/markers.txt")"
    ;;

no_tick)  # install without ticking: the box, then the red warning; ticking hides it
    serve tls
    start_program "$lang"
    warning_before=$(crop 300 12 $((X + 20)) $((Y + 345)))
    before_box
    press_install
    await_box 10 || fail "no information box"
    answer_box only
    box_gone || fail "the box stayed"
    shot
    red=$(red_pixels 300 14 $((X + 20)) $((Y + 345)))
    [ "$red" -gt 20 ] || fail "no red warning under the box ($red red pixels)"
    keep "$scenario-warning"
    grep -q 'Downloader_Start_Install' "$work/nginx/access.log" && fail "an event went out"
    tick_agreement
    shot
    [ "$(crop 300 12 $((X + 20)) $((Y + 345)))" = "$warning_before" ] || fail "ticking left the warning"
    on_installing_page && fail "the installation started"
    # A double-click is two clicks: the box toggles twice, the licence page
    # opens once per click (the browser stand-in records each).
    ticked=$(crop 14 14 $((X + 20)) $((Y + 329)))
    at 27 336
    xdotool click --repeat 2 --delay 100 1
    settle
    shot
    [ "$(crop 14 14 $((X + 20)) $((Y + 329)))" = "$ticked" ] || fail "a double-click toggled the box once"
    : >"$work/browser.txt"
    at 100 336
    xdotool click --repeat 2 --delay 100 1
    away
    sleep 2
    [ "$(wc -l <"$work/browser.txt")" -eq 2 ] || fail "a double-click opened $(wc -l <"$work/browser.txt") pages"
    ;;

keyboard)  # the keyboard alone: the focus starts on the agreement box, Space ticks it, Tab, Enter; a screen reader names every control
    serve tls 40k
    start_program "$lang"
    licence_page=$(crop 650 360 $X $Y)
    # With no window manager on the display the keyboard goes where the
    # pointer rests: on the page, away from every control, and never moved.
    at 100 100
    # What a screen reader finds (licence page, options strip open):
    # every control named, the agreement box a check box, not ticked.
    toggle_options
    msaa=yes
    probe licence || msaa=no
    grep -q '^window title=.' "$work/probe-licence" || fail "the window has no title"
    grep -q '^focus id=1003$' "$work/probe-licence" || fail "the focus does not start on the agreement box"
    if [ "$msaa" = yes ]; then
        grep -q '^id=1003 .*role=check button ' "$work/probe-licence" ||
            fail "the agreement box is no check box"
        [ "$(agreement_checked licence)" = no ] || fail "the agreement box reads ticked before Space"
    fi
    toggle_options
    xdotool key space  # the first key moves the user forward: ticked
    settle
    shot
    keep "$scenario-ticked"
    [ "$(crop 650 360 $X $Y)" != "$licence_page" ] || fail "Space did not tick the agreement box"
    if [ "$msaa" = yes ]; then
        probe ticked
        [ "$(agreement_checked ticked)" = yes ] || fail "the agreement box does not read ticked after Space"
    fi
    xdotool key Tab
    settle
    shot
    keep "$scenario-focus-install"
    xdotool key Return
    await_screen 20 on_installing_page || fail "Enter on the install button did not install"
    if [ "$msaa" = yes ]; then
        probe installing
        for id in 1010 1014 1016; do
            grep -q "^id=$id .* name=[^ ]" "$work/probe-installing" ||
                grep -q "^id=$id .*value=[^ ]" "$work/probe-installing" ||
                fail "control $id of the installing page says nothing"
        done
    fi
    await_screen 60 on_finished_page || fail "no finished page"
    keep "$scenario-finished"
    [ "$(record_value installer.txt sha256)" = "$payload_sha" ] || fail "the installer arrived changed"
    xdotool key Return  # the focus moved on to the start button with the page
    ended_with 1000
    for _ in $(seq 100); do [ -s "$work/product.txt" ] && break; sleep 0.1; done
    [ -s "$work/product.txt" ] || fail "the product did not start"
    ;;

hide)  # hide during the download: icon and balloon; back by itself on the finished page
    installing_in_tray 60k
    await_screen 10 eval '[ "$(px 60 60)" = "$WHITE" ]' || fail "no balloon"
    keep "$scenario-tray"
    await_screen 90 on_finished_page || fail "the finished page did not come back by itself"
    [ -z "$(tray_window)" ] || fail "the icon stayed"
    # A close request during the download hides the window without an icon.
    before_box
    press_close
    await_box 10 || fail "close on the finished page did not ask"
    answer_box first
    ended_with 1000
    start_program "$lang"
    tick_agreement
    press_install
    await_screen 20 on_installing_page || fail "no installing page"
    wine "$KORVIX_TEST_TOOLS/post_close.exe" >/dev/null 2>&1
    await_screen 10 dialog_unmapped || fail "a close request did not hide the window"
    sleep 1
    [ -z "$(tray_window)" ] || fail "a close request added an icon"
    await_screen 90 on_finished_page || fail "the finished page did not come back"
    ;;

network_failure)  # the server dies mid-download: the box; OK opens the address
    serve tls 40k
    start_program "$lang"
    tick_agreement
    press_install
    await_screen 20 on_installing_page || fail "no installing page"
    sleep 1
    before_box
    kill_server
    await_box 120 || fail "no network-failure box"
    keep "$scenario-box"
    answer_box first
    ended_with 1000
    for _ in $(seq 100); do [ -s "$work/browser.txt" ] && break; sleep 0.1; done
    [ "$(cat "$work/browser.txt")" = "https://localhost/korvix/velmora-korvix_setup.exe" ] ||
        fail "the browser got: $(cat "$work/browser.txt")"
    [ "$(tr -d '\r' <"$work/browser.txt.parent")" = explorer.exe ] ||
        fail "the browser was started by $(cat "$work/browser.txt.parent")"
    ;;

fallback)  # port 443 closed: the program completes over port 80
    serve http
    start_program "$lang"
    road_to_finished "C:\\Korvix E2E\\fallback"
    grep -q '"HEAD /korvix/velmora-korvix_setup.exe HTTP/1.1" 200' "$work/nginx/access.log" ||
        fail "no size query on port 80"
    [ "$(grep -c '" 206 ' "$work/nginx/access.log")" -ge 40 ] || fail "fewer than 40 ranges on port 80"
    before_box
    press_close
    await_box 10 || fail "no confirmation box"
    answer_box first
    ended_with 1000
    ;;

missing_folder)  # a folder that does not exist: the child gets Program Files (x86)
    serve tls
    start_program "$lang"
    road_to_finished "C:\\Korvix E2E\\no such folder" missing
    [ "$(record_value installer.txt cmdline)" = ' /verysilent /velmora_down /path="C:\Program Files (x86)"' ] ||
        fail "the child got: $(record_value installer.txt cmdline)"
    ;;

close_paths)  # close on the licence page and on the finished page: No keeps, Yes ends with 1000
    serve tls
    start_program "$lang"
    before_box
    press_close
    await_box 10 || fail "close did not ask"
    answer_box second
    box_gone || fail "No left the box"
    frame_at $X $Y || fail "No changed the window"
    kill -0 "$pid" || fail "No ended the program"
    road_to_finished "C:\\Korvix E2E\\close"
    before_box
    press_close
    await_box 10 || fail "close on the finished page did not ask"
    answer_box second
    box_gone || fail "No left the box"
    on_finished_page || fail "No changed the finished page"
    before_box
    press_close
    await_box 10 || fail "close did not ask again"
    answer_box first
    ended_with 1000
    ;;

folder_browser)  # the browser's choice lands in the path box; cancel changes nothing
    serve tls
    start_program "$lang"
    mkdir -p "$WINEPREFIX/drive_c/Korvix E2E/browsed"
    tick_agreement
    toggle_options
    shot
    path_before=$(crop 300 16 $((X + 152)) $((Y + 391)))
    # Wine's folder browser: its tree, OK and Cancel at the bottom right.
    open_browser() {
        before_box
        press_browse
        await_new_window 20 || fail "no folder browser"
        sleep 1
        new_window_geometry
        BWIN=$(program_windows | comm -13 "$work/box-before" - | tail -n 1)
        # Its first click only makes it the active window: spend it on its title.
        xdotool mousemove $((BX + 60)) $((BY + 20)) click 1
        sleep 0.3
    }
    browser_button() {
        xdotool mousemove $((BX + BW - $1)) $((BY + BH - 20)) mousedown 1
        sleep 0.2
        xdotool mouseup 1
        away
        # Wine takes a moment to take its window off the display.
        for _ in $(seq 50); do xwininfo -id "$BWIN" >/dev/null 2>&1 || break; sleep 0.2; done
        xwininfo -id "$BWIN" >/dev/null 2>&1 && fail "the folder browser stayed"
        sleep 0.5
    }
    open_browser
    shot
    keep "$scenario-browser"
    browser_button 48  # Cancel
    shot
    [ "$(crop 300 16 $((X + 152)) $((Y + 391)))" = "$path_before" ] || fail "cancel changed the path box"
    open_browser
    # Through the tree with the keyboard: My Computer, its first drive (C:),
    # Korvix E2E, browsed.
    xdotool mousemove $((BX + 68)) $((BY + 88)) click 1
    xdotool type --delay 30 'my'
    xdotool key Right Down Right
    sleep 0.5
    xdotool type --delay 30 'korvix e'
    xdotool key Right
    sleep 0.5
    xdotool type --delay 30 'browsed'
    sleep 0.5
    shot
    keep "$scenario-choosing"
    browser_button 128  # OK
    shot
    [ "$(crop 300 16 $((X + 152)) $((Y + 391)))" != "$path_before" ] || fail "the choice did not reach the path box"
    keep "$scenario-chosen"
    press_install
    await_screen 60 on_finished_page || fail "no finished page"
    [ "$(record_value installer.txt cmdline)" = ' /verysilent /velmora_down /path="C:\Korvix E2E\browsed"' ] ||
        fail "the child got: $(record_value installer.txt cmdline)"
    ;;

server_unusable)  # no server at all, then 403 to everything: the network box, nothing left
    rm -rf "$downloads"
    start_program "$lang"
    tick_agreement
    before_box
    press_install
    clicked=$(date +%s)
    failure_box "$scenario-no-server" 90
    waited=$(($(date +%s) - clicked))
    echo "no server: the network box $waited s after the click"
    [ "$waited" -le 90 ] || fail "the box came $waited s after the click"
    answer_box first
    ended_with 1000
    for _ in $(seq 100); do [ -s "$work/browser.txt" ] && break; sleep 0.1; done
    [ "$(cat "$work/browser.txt")" = "https://localhost/korvix/velmora-korvix_setup.exe" ] ||
        fail "the browser got: $(cat "$work/browser.txt")"
    nothing_left
    : >"$work/browser.txt"
    start_fault_server '[{"target": "any", "action": "status:403"}]' --http-port 80
    start_program "$lang"
    tick_agreement
    before_box
    press_install
    failure_box "$scenario-forbidden" 100
    answer_box second
    ended_with 1000
    [ ! -s "$work/browser.txt" ] || fail "Cancel opened the browser"
    grep -q '"method": "HEAD"' "$work/server.log" || fail "no fallback size query"
    nothing_left
    ;;

local_failures)  # a full disk, a failing child: the local box each time
    serve tls
    rm -rf "$downloads"
    # A 2 MB disk under the download folder, in the sandbox's mount namespace.
    [ "$(readlink /proc/self/ns/mnt)" != "$(readlink /proc/1/ns/mnt)" ] ||
        fail "needs the sandbox's own mount namespace (tests/tools/sandbox)"
    mount -t tmpfs -o size=2m korvix-full "$WINEPREFIX/drive_c/users/Public/Documents"
    trap 'umount "$WINEPREFIX/drive_c/users/Public/Documents" 2>/dev/null || true; cleanup' EXIT
    start_program "$lang"
    tick_agreement
    before_box
    press_install
    failure_box "$scenario-disk-full" 60
    answer_box only
    ended_with 1000
    nothing_left
    umount "$WINEPREFIX/drive_c/users/Public/Documents"
    # The child installer fails: no finished page, no installed event.
    KORVIX_FAKE_EXIT_CODE=1 start_program "$lang"
    tick_agreement
    before_box
    press_install
    failure_box "$scenario-child-failed" 60
    on_finished_page && fail "a failed child led to the finished page"
    answer_box only
    ended_with 1000
    nothing_left
    grep -q 'ea=Downloader_Installed' "$work/nginx/access.log" && fail "an installed event for a failed child"
    [ -n "$(record_value installer.txt sha256)" ] || fail "the child never ran"
    ;;

recovers)  # refused for 10 s, then a good server; a range that stalls on every try: both install the payload
    start_program "$lang"
    tick_agreement
    press_install
    clicked=$(date +%s)
    await_screen 10 on_installing_page || fail "no installing page"
    # Refused: the status line leaves "0%" to say that it connects again.
    status0=$(status_crop)
    await_screen 8 eval '[ "$(status_crop)" != "$status0" ]' ||
        fail "the status line did not say that it connects again"
    keep "$scenario-reconnecting"
    reconnecting=$(status_crop)
    left=$((10 - ($(date +%s) - clicked)))
    [ "$left" -le 0 ] || sleep "$left"
    serve tls
    await_screen 30 eval '[ "$(bar_fill)" -gt 0 ] && [ "$(status_crop)" != "$reconnecting" ]' ||
        fail "the percentage did not come back with the bytes"
    await_screen 60 on_finished_page || fail "no finished page after the outage"
    keep "$scenario-after-outage"
    [ "$(record_value installer.txt sha256)" = "$payload_sha" ] || fail "the installer arrived changed"
    grep -q '"HEAD /korvix/' "$work/nginx/access.log" && fail "the outage forced the fallback"
    before_box
    press_close
    await_box 10 || fail "close did not ask"
    answer_box first
    ended_with 1000
    stop_servers
    rm -f "$work/installer.txt"
    # Segments of 150 kB; 5 and 20 send 64 KiB, then nothing on an open
    # connection, on every try: each try asks only for the rest.
    make_fake_payload "$payload" 6000000
    start_fault_server '[{"target": [5, 20], "action": "stall:65536"}]'
    start_program "$lang"
    tick_agreement
    press_install
    await_screen 150 on_finished_page || fail "no finished page after a stalling range"
    [ "$(record_value installer.txt sha256)" = "$(sha256sum "$payload" | cut -d' ' -f1)" ] ||
        fail "the installer arrived changed"
    firsts=$(python3 -c 'import json, sys
print(" ".join(str(e["first"]) for e in map(json.loads, open(sys.argv[1])) if e["target"] == 5))' "$work/server.log")
    echo "segment 5 asked from: $firsts"
    read -r -a first <<<"$firsts"
    [ "${#first[@]}" -eq 3 ] || fail "segment 5 took ${#first[@]} tries, not 3: $firsts"
    [ $((first[1] - first[0])) -eq 65536 ] && [ $((first[2] - first[1])) -eq 65536 ] ||
        fail "a try did not start where the last one stopped: $firsts"
    ;;

silent_range)  # a range accepted and never answered: the network box after two minutes of silence
    start_fault_server '[{"target": 3, "action": "stall:0"}]'
    start_program "$lang"
    tick_agreement
    before_box
    press_install
    clicked=$(date +%s)
    failure_box "$scenario-box" 150
    waited=$(($(date +%s) - clicked))
    echo "a silent range: the network box $waited s after the click"
    answer_box second
    ended_with 1000
    nothing_left
    ;;

second_copy)  # a second start brings the hidden window back and ends by itself
    installing_in_tray 20k
    second_copy "$lang"
    await_screen 10 on_installing_page || fail "the second start did not bring the window back"
    keep "$scenario-back"
    [ -z "$(tray_window)" ] || fail "the icon stayed"
    await_screen 90 on_finished_page || fail "no finished page"
    ;;

untrusted)  # only the publisher's own installer runs; every other ends in the network box
    serve tls 0
    # Signed by the publisher: it runs, as on every other road.
    make_fake_payload "$payload" 3000000
    start_program "$lang"
    tick_agreement
    press_install
    await_screen 60 on_finished_page || fail "the publisher's installer did not run"
    [ "$(record_value installer.txt sha256)" = "$(sha256sum "$payload" | cut -d' ' -f1)" ] ||
        fail "the installer arrived changed"
    before_box
    press_close
    await_box 10 || fail "close did not ask"
    answer_box first
    ended_with 1000
    make_fake_payload "$payload" 3000000 none
    refused unsigned
    make_fake_payload "$payload" 3000000
    python3 -c 'import sys; f = open(sys.argv[1], "r+b"); f.seek(2000000); b = f.read(1); f.seek(2000000); f.write(bytes([b[0] ^ 1]))' "$payload"
    refused changed-after-signing
    make_fake_payload "$payload" 3000000 rogue
    refused untrusted-ca
    make_fake_payload "$payload" 3000000 other
    refused other-publisher
    # The downgrade: port 443 refuses, port 80 serves the attacker's build,
    # signed in the publisher's name by a CA nobody trusts.
    stop_servers
    serve http 0
    make_fake_payload "$payload" 3000000 rogue
    refused downgrade
    grep -q '"HEAD /korvix/velmora-korvix_setup.exe HTTP/1.1" 200' "$work/nginx/access.log" ||
        fail "the downgrade never reached port 80"
    ;;

rollback)  # port 443 refused: on the fallback, an older signed release and a twin are refused
    serve http 0
    make_fake_payload "$payload" 3000000 signer fake_installer_old
    refused older-release
    # The publisher's name, from another CA the machine trusts.
    make_fake_payload "$payload" 3000000 twin
    refused twin-publisher
    make_fake_payload "$payload" 3000000
    rm -f "$work/installer.txt"
    start_program "$lang"
    tick_agreement
    press_install
    await_screen 120 on_finished_page || fail "the current release did not install"
    [ "$(record_value installer.txt sha256)" = "$(sha256sum "$payload" | cut -d' ' -f1)" ] ||
        fail "the installer arrived changed"
    grep -q '"HEAD /korvix/velmora-korvix_setup.exe HTTP/1.1" 200' "$work/nginx/access.log" ||
        fail "the fallback was never used"
    ;;

analytics_hang)  # a collector that takes the request and never answers: the window goes on
    # The download from our fault server on 443; on 80 it takes every
    # collector request and never answers, and so does the CA's status
    # server there: the signature check gives up on it after 15 s (Wine
    # ignores the chain's own time-out) and, over HTTPS, the installer runs.
    start_fault_server '[{"target": "other", "action": "delay:600"}]' --http-port 80
    start_program "$lang"
    tick_agreement
    clicked=$(date +%s%N)
    press_install
    await_screen 10 on_installing_page || fail "no installing page"
    waited=$((($(date +%s%N) - clicked) / 1000000))
    echo "the installing page $waited ms after the click"
    [ "$waited" -le 3000 ] || fail "the window repainted $waited ms after the click"
    keep "$scenario-installing"
    grep -q 'Downloader_Start_Install' "$work/server.log" || fail "the start event never reached the collector"
    await_screen 90 on_finished_page || fail "no finished page"
    grep -q '"path": "/ca.crl"' "$work/server.log" || fail "the CA's status was never asked for"
    # The events go out one after the other from their own thread: the
    # installed one after the start one's wait (5 s) at the latest.
    for _ in $(seq 150); do grep -q 'Downloader_Installed' "$work/server.log" && break; sleep 0.1; done
    grep -q 'Downloader_Installed' "$work/server.log" || fail "the installed event never reached the collector"
    [ "$(grep -c 'Downloader_' "$work/server.log")" = 2 ] || fail "not two events"
    grep -n 'Downloader_Start_Install' "$work/server.log" | cut -d: -f1 >"$work/start-line"
    grep -n 'Downloader_Installed' "$work/server.log" | cut -d: -f1 >"$work/installed-line"
    [ "$(cat "$work/start-line")" -lt "$(cat "$work/installed-line")" ] || fail "the events came out of order"
    ;;

*)
    echo "e2e_test.sh: no scenario $1" >&2
    exit 2
    ;;
esac
echo "ok: $scenario"
