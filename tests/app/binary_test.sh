#!/usr/bin/env bash
# Korvix_Setup.exe is one file for a clean Windows: a 32-bit GUI program that
# imports system DLLs only, asks for administrator rights, has no console.
# ($KORVIX_PE_FORMAT names another format: the 64-bit build of a test bench
# that cannot run 32-bit code.)
set -euo pipefail
exe=${1:?usage: binary_test.sh Korvix_Setup.exe OBJDUMP}
objdump=${2:?usage: binary_test.sh Korvix_Setup.exe OBJDUMP}
fail() { echo "FAIL: $*" >&2; exit 1; }

headers=$("$objdump" -p "$exe")
format=${KORVIX_PE_FORMAT:-pei-i386}
grep -q "file format $format\$" <<<"$headers" || fail "not a $format file"
grep -qE '^Subsystem[[:space:]]+00000002' <<<"$headers" || fail "not the Windows GUI subsystem"

allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|gdiplus|wininet|winhttp|shell32|shlwapi|advapi32|ole32|oleaut32|msvcrt|crypt32|wintrust|version|uxtheme|msimg32)\.dll$'
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || fail "no imports found"
while read -r dll; do
    [[ $dll =~ $allowed ]] || fail "imports $dll, which a clean Windows does not have"
done <<<"$dlls"
echo "imports: $(tr '\n' ' ' <<<"$dlls")"

# The manifest is stored as plain UTF-8 text.
grep -aq 'requestedExecutionLevel level="requireAdministrator"' "$exe" ||
    fail "the manifest does not request administrator rights"
echo "ok: $(stat -c %s "$exe") bytes"
