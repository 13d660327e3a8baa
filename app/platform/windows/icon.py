#!/usr/bin/env python3
"""Packs PNG pictures, largest last, into one Windows icon (.ico) file.

    icon.py OUT.ico IN.png...

Each picture keeps its PNG form, which Windows reads in icons since Vista.
"""
import struct
import sys


def size_of(png):
    if png[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit("icon.py: not a PNG picture")
    return struct.unpack(">II", png[16:24])


def main():
    out, names = sys.argv[1], sys.argv[2:]
    pictures = [open(name, "rb").read() for name in names]
    header = struct.pack("<HHH", 0, 1, len(pictures))
    offset = len(header) + 16 * len(pictures)
    entries, data = b"", b""
    for png in pictures:
        width, height = size_of(png)
        # A side of 256 is written as 0.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(png),
                               offset + len(data))
        data += png
    with open(out, "wb") as icon:
        icon.write(header + entries + data)


main()
