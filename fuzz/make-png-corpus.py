#!/usr/bin/env python3
"""Writes the seed PNGs of the PNG fuzzer: a small picture of every colour type and bit depth,
interlaced and not, with and without tRNS."""
import os
import struct
import sys
import zlib


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png(width, height, depth, colour, interlace=0, extra=b""):
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    row_bytes = (width * channels * depth + 7) // 8
    raw = b"".join(b"\0" + bytes((y * 37 + x * 11) % 256 for x in range(row_bytes))
                   for y in range(height))
    if interlace:
        # Zero bytes are valid rows of every pass (filter 0, pixel 0); four times the bytes suffice.
        raw = bytes(4 * len(raw))
    header = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, interlace)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def main(folder):
    os.makedirs(folder, exist_ok=True)
    cases = {}
    for depth in (1, 2, 4, 8):
        plte = chunk(b"PLTE", bytes(i % 256 for i in range(3 * (1 << depth))))
        cases["indexed%d" % depth] = png(5, 3, depth, 3, 0, plte)
        cases["indexed%d-adam7" % depth] = png(5, 3, depth, 3, 1,
                                               plte + chunk(b"tRNS", b"\0\x80"))
    for depth in (1, 2, 4, 8, 16):
        cases["grey%d" % depth] = png(5, 3, depth, 0)
    cases["grey8-trns"] = png(5, 3, 8, 0, 0, chunk(b"tRNS", b"\0\x25"))
    for depth in (8, 16):
        cases["rgb%d" % depth] = png(4, 3, depth, 2)
        cases["greyalpha%d" % depth] = png(4, 3, depth, 4)
        cases["rgba%d-adam7" % depth] = png(4, 3, depth, 6, 1)
    cases["rgb8-trns"] = png(4, 3, 8, 2, 0, chunk(b"tRNS", b"\0\x25\0\x4a\0\x6f"))
    for name, data in cases.items():
        with open(os.path.join(folder, name + ".png"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "fuzz/corpus-png")
