#!/usr/bin/env bash
# The real program, run under Wine as a user would: after each start, the
# pack folder (Program Files, velmora_down, the program's stem) holds every
# embedded pack byte for byte as the program carries it, also after a pack
# was edited or removed on disk, for the stem rule's three kinds of name.
set -euo pipefail
exe=${1:?usage: extract_packs_test.sh Korvix_Setup.exe}
tools=$KORVIX_SOURCE_DIR/tests/tools
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# What the program carries, straight from its resources.
"${KORVIX_WINDRES:-i686-w64-mingw32-windres}" -i "$exe" -O res -o "$work/program.res"
count=$(python3 "$tools/res_dump.py" "$work/program.res" INI "$work/carried")
[ "$count" = 6 ] || fail "the program carries $count packs, not 6"
declare -A names=([253]=English [255]=ChineseTW [257]=French [258]=German [259]=Italian [260]=Japanese)

# The program's own Program Files: the 32-bit one for the shipped build.
program_files=$(winepath -u "${KORVIX_PROGRAM_FILES:-C:\Program Files (x86)}" 2>/dev/null)
[ -d "$program_files" ] || fail "no Program Files folder of the program in the prefix"

check_folder() {  # check_folder STEM
    local folder="$program_files/velmora_down/$1" id
    [ -d "$folder" ] || fail "no pack folder $folder"
    for id in "${!names[@]}"; do
        cmp -s "$work/carried/$id" "$folder/${names[$id]}.ini" ||
            fail "$1: ${names[$id]}.ini differs from resource $id"
    done
    [ "$(find "$folder" -type f | wc -l)" = 6 ] || fail "$1: the folder holds other files too"
}

run() {  # run NAME STEM: start the program as NAME until its packs are out
    # The packs are written before the dialog shows; then the program is
    # ended by its process id.
    local pid
    cp "$exe" "$work/$1"
    wine "$work/$1" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 150); do
        (check_folder "$2") 2>/dev/null && break
        sleep 0.2
    done
    sleep 0.5
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

for case in "Korvix_Setup.exe Korvix_Setup" "Korvix_Setup.1.exe Korvix_Setup.1" "Korvix_Setup Korvix_Setup"; do
    read -r name stem <<<"$case"
    rm -rf "$program_files/velmora_down/$stem"
    run "$name" "$stem"
    check_folder "$stem"
    echo "ok: $name -> velmora_down/$stem"
done

# Second start: edited, emptied and deleted packs are written anew.
folder="$program_files/velmora_down/Korvix_Setup"
printf 'edited' >"$folder/German.ini"
: >"$folder/Japanese.ini"
rm "$folder/English.ini"
run Korvix_Setup.exe Korvix_Setup
check_folder Korvix_Setup
echo "ok: second start restores every pack"
