#!/usr/bin/env bash
# Korvix_Setup.exe is one file for a clean Windows: a 32-bit GUI program that
# imports only what Windows always loads from System32, may use 4 GiB, asks
# for administrator rights, has no console.
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
# The whole installer is held in memory: 64-bit Windows gives a 32-bit
# program 4 GiB when it says it can use them.
grep -q 'large address aware' <<<"$headers" || fail "not large address aware"

# Imported at load time: only what the loader takes from System32 on every
# Windows (KnownDLLs, and ntdll). The program runs elevated from a folder
# that others write to; every other DLL is loaded on its first call, from
# System32 only.
allowed='^(kernel32|msvcrt|ntdll)\.dll$'
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || fail "no imports found"
while read -r dll; do
    [[ $dll =~ $allowed ]] || fail "imports $dll at load time, which the loader may take from beside the program"
done <<<"$dlls"
echo "imports: $(tr '\n' ' ' <<<"$dlls")"

# The load configuration says the same to the loader (DependentLoadFlags =
# LOAD_LIBRARY_SEARCH_SYSTEM32, Windows 10 1607 and later).
flags=$(python3 - "$exe" <<'PE'
import struct, sys
data = open(sys.argv[1], 'rb').read()
pe = struct.unpack_from('<I', data, 0x3c)[0]
sections, optional_size = struct.unpack_from('<H', data, pe + 6)[0], struct.unpack_from('<H', data, pe + 20)[0]
optional = pe + 24
wide = struct.unpack_from('<H', data, optional)[0] == 0x20b
rva, size = struct.unpack_from('<II', data, optional + (112 if wide else 96) + 8 * 10)
for i in range(sections):
    header = optional + optional_size + 40 * i
    vsize, vaddr, rawsize, rawoff = struct.unpack_from('<IIII', data, header + 8)
    if rva and vaddr <= rva < vaddr + rawsize:
        print(hex(struct.unpack_from('<H', data, rawoff + rva - vaddr + (0x4e if wide else 0x36))[0]))
        break
else:
    print('none')
PE
)
[ "$flags" = 0x800 ] || fail "the load configuration's DependentLoadFlags are $flags, not 0x800"

# The manifest is stored as plain UTF-8 text.
grep -aq 'requestedExecutionLevel level="requireAdministrator"' "$exe" ||
    fail "the manifest does not request administrator rights"
echo "ok: $(stat -c %s "$exe") bytes"
