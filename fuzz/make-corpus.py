#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus: small library files, valid ones covering every coding and
broken ones covering the checks. Run from the repository: fuzz/make-corpus.py fuzz/corpus"""
import struct
import sys
from pathlib import Path


def palette():
    return b"".join(bytes((i, 255 - i, (i * 7) & 255, 0)) for i in range(256))


def library(*records):
    return b"VX\x08\x00" + struct.pack("<H", 2) + palette() + b"".join(records)


def record(name, width, height, blocks, state=1, transparent=None, revision=3, count=None):
    """blocks: list of (escape1, escape2, flags, stored bytes)."""
    n = len(blocks) if count is None else count
    ends, offset, body = [], 18 + 4 * len(blocks), b""
    for e1, e2, flags, data in blocks:
        block = bytes((e1, e2, flags)) + data
        offset += len(block)
        ends.append(offset)
        body += block
    header = name.encode().ljust(8, b"\0")[:8] + struct.pack(
        "<HHBBBBH", width, height, n, state,
        transparent or 0, 1 if transparent is not None else 0, revision)
    return header + b"".join(struct.pack("<i", e) for e in ends) + body


def stride(width):
    return (width + 3) // 4 * 4


ENCODED, RAW_LINES, RUNS_ONLY = 0x08, 0x01, 0x02


def write(folder, name, data):
    (folder / name).write_bytes(data)


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else "fuzz/corpus")
    folder.mkdir(parents=True, exist_ok=True)
    # Plain rows, state 2: loaded on first lock.
    plain = bytes(range(4 * 4)) + bytes(16)
    write(folder, "plain-state2.vx8", library(record("plain", 4, 8, [(0, 0, 0, plain)], state=2)))
    # Line codes: raw, fill, copy rest, escapes of both kinds, exclusive-or with the row below.
    width = 6
    rows = (b"\x00" + bytes((1, 2, 3, 4, 5, 6)) +        # raw row
            b"\x06\x09" +                                # fill with 9
            b"\x07" +                                    # copy the row below
            b"\x01\xfe\x04\x07\x01\x02" +                # E1 run of four 7s, then 1 and 2
            b"\x03\xff\x05\xfe\x02\x00" +                # E2 gives three 5s, then copy the rest
            b"\x02\x00\x00\x00\x00\x00\x01")            # exclusive-or with the row below
    write(folder, "line-codes.vx8", library(record("lines", width, 6, [(0xFE, 0xFF, ENCODED, rows)])))
    # Copies from the row below with codes 8 and more.
    wide = 12
    rows = b"\x06\x05" + b"\x08\x06\x01" + b"\x0c"
    write(folder, "copies.vx8", library(record("copies", wide, 3, [(0xFE, 0xFF, ENCODED, rows)])))
    # Raw lines: W bytes a row, no codes.
    write(folder, "raw-lines.vx8",
          library(record("raw", 5, 3, [(0, 0, ENCODED | RAW_LINES, bytes(range(15)))])))
    # Run-only: runs across rows, escapes of both kinds.
    runs = b"\xfe\x05\x03" + b"\xff\x04" + b"\xfe\x00" + b"\xff\xfe" + b"\x09" * 2
    write(folder, "runs-only.vx8",
          library(record("runs", 4, 3, [(0xFE, 0xFF, ENCODED | RUNS_ONLY, runs)], transparent=3)))
    # Two records, several images and a multi-segment one (40,000 x 3: one row a segment).
    row = b"\x06\x11"
    write(folder, "multi.vx8", library(
        record("Tile", 2, 2, [(1, 2, ENCODED, b"\x06\x05\x07")]),
        record("tile", 1, 1, [(1, 2, ENCODED, b"\x00\x09")]),
        record("wide", 40000, 3, [(1, 2, ENCODED, row)] * 3)))
    # Broken files.
    good = record("ok", 2, 1, [(1, 2, ENCODED, b"\x06\x05")])
    write(folder, "bad-magic.vx8", b"VY" + library(good)[2:])
    write(folder, "short.vx8", library()[:600])
    write(folder, "empty-directory.vx8", library())
    write(folder, "bad-revision.vx8", library(record("rev", 2, 1, [(1, 2, ENCODED, b"\x06\x05")], revision=2)))
    write(folder, "bad-state.vx8", library(record("st", 2, 1, [(1, 2, ENCODED, b"\x06\x05")], state=3)))
    write(folder, "bad-count.vx8", library(record("cnt", 2, 1, [(1, 2, ENCODED, b"\x06\x05")], count=2)))
    write(folder, "code-on-row0.vx8", library(record("r0", 2, 2, [(1, 2, ENCODED, b"\x07\x07")])))
    write(folder, "overflow.vx8", library(record("of", 2, 1, [(1, 2, ENCODED, b"\x00\x05")])))
    write(folder, "truncated.vx8", library(good)[:-1])
    zero = bytearray(library(good))
    struct.pack_into("<i", zero, 1030 + 18, 0)
    write(folder, "zero-length.vx8", bytes(zero))


if __name__ == "__main__":
    main()
