#!/usr/bin/env python3
"""res_dump.py FILE.res TYPE OUTDIR: writes each resource of TYPE (a name
such as INI or PNG, or a number) found in a compiled .res file to
OUTDIR/<id>, so tests can compare what a program carries byte for byte.
Make the .res from an .exe with: windres -i PROGRAM.exe -O res -o FILE.res"""
import os
import struct
import sys


def read_id(data, pos):
    if struct.unpack_from("<H", data, pos)[0] == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    end = pos
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def resources(data):
    pos = 0
    while pos + 8 <= len(data):
        size, header = struct.unpack_from("<II", data, pos)
        rtype, p = read_id(data, pos + 8)
        name, p = read_id(data, p)
        body = pos + header
        yield rtype, name, data[body:body + size]
        pos = (body + size + 3) & ~3


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    wanted = int(argv[2]) if argv[2].isdigit() else argv[2].upper()
    os.makedirs(argv[3], exist_ok=True)
    with open(argv[1], "rb") as f:
        data = f.read()
    count = 0
    for rtype, name, body in resources(data):
        if rtype == wanted:
            with open(os.path.join(argv[3], str(name)), "wb") as out:
                out.write(body)
            count += 1
    print(count)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
