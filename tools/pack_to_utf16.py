#!/usr/bin/env python3
"""Turns a reviewable UTF-8 language pack into the bytes the program embeds.

The platform's profile reader only takes a Unicode INI file as UTF-16LE with
a byte-order mark, and the packs are written out unchanged, so the resource
must already be the final file: BOM FF FE, UTF-16LE, CR LF line ends.
"""
import sys


def convert(text: str) -> bytes:
    if text.startswith("\ufeff"):
        text = text[1:]
    if "@" in text:
        # A placeholder the build did not fill would ship as a broken address.
        raise ValueError("unsubstituted placeholder left in pack")
    lines = text.replace("\r\n", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    if not lines or lines[0] != "[LANSTR]":
        raise ValueError("a pack starts with its one section, [LANSTR]")
    return b"\xff\xfe" + "".join(line + "\r\n" for line in lines).encode("utf-16-le")


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: pack_to_utf16.py SOURCE.ini OUTPUT.ini\n")
        return 2
    with open(argv[1], encoding="utf-8") as src:
        try:
            data = convert(src.read())
        except ValueError as err:
            sys.stderr.write("%s: %s\n" % (argv[1], err))
            return 1
    with open(argv[2], "wb") as out:
        out.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
