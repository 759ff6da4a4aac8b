#!/usr/bin/env python3
"""Writes the damaged compiled help files that once crashed, hung or exhausted the decompiler
as seeds of fuzz/fuzz_decompile.cpp: a listing chunk that links to itself, an entry that
claims about a terabyte, and LZX control data with an impossible window and reset interval.

    tools/make-decompile-seeds.py SOURCE.chm OUTDIR
"""
import struct
import sys


def encint(data, at):
    value = 0
    while True:
        b = data[at]
        at += 1
        value = (value << 7) | (b & 0x7F)
        if b < 0x80:
            return value, at


def put_encint(value, width):
    """`value` as an encoded integer of exactly `width` bytes (leading 0x80 padding)."""
    out = []
    for i in range(width):
        out.insert(0, (value & 0x7F) | (0x80 if i else 0))
        value >>= 7
    return bytes(out)


def directory(chm):
    dir_offset = struct.unpack_from("<Q", chm, 0x48)[0]
    header_len = struct.unpack_from("<I", chm, dir_offset + 8)[0]
    chunk_size = struct.unpack_from("<I", chm, dir_offset + 0x10)[0]
    first = struct.unpack_from("<i", chm, dir_offset + 0x20)[0]
    chunks = dir_offset + header_len
    return chunks, chunk_size, first


def entries(chm, chunk_at, chunk_size):
    free = struct.unpack_from("<I", chm, chunk_at + 4)[0]
    at, end = chunk_at + 20, chunk_at + chunk_size - free
    while at < end:
        start = at
        n, at = encint(chm, at)
        name = bytes(chm[at:at + n])
        at += n
        section, at = encint(chm, at)
        offset, at = encint(chm, at)
        length_at = at
        length, at = encint(chm, at)
        yield start, name, section, offset, length_at, length, at


def main():
    source, out = sys.argv[1], sys.argv[2]
    chm = bytearray(open(source, "rb").read())
    chunks, chunk_size, first = directory(chm)
    first_at = chunks + first * chunk_size

    looped = bytearray(chm)
    struct.pack_into("<i", looped, first_at + 16, first)
    open(out + "/self-linked-chunk.chm", "wb").write(looped)

    # Shorten a long name by five bytes and spend them on a six-byte length of about 2^40.
    huge = bytearray(chm)
    for start, name, section, offset, length_at, length, end in entries(chm, first_at, chunk_size):
        if len(name) > 12 and name.startswith(b"/") and name[1:2] not in (b"#", b"$"):
            old_width = end - length_at
            new_name = name[:-(6 - old_width) - 0] if 6 > old_width else name
            entry = (put_encint(len(new_name), 1) + new_name + put_encint(section, 1) +
                     put_encint(offset, len(chm[start:length_at]) - 2 - len(name)) +
                     put_encint(1 << 40, 6))
            if len(name) < 0x80 and len(entry) == end - start:
                huge[start:end] = entry
                break
    open(out + "/terabyte-entry.chm", "wb").write(huge)

    lzx = bytearray(chm)
    content = struct.unpack_from("<Q", chm, 0x58)[0]
    for start, name, section, offset, length_at, length, end in entries(chm, first_at, chunk_size):
        if name == b"::DataSpace/Storage/MSCompressed/ControlData":
            at = content + offset
            struct.pack_into("<I", lzx, at + 12, 0)           # reset interval
            struct.pack_into("<I", lzx, at + 16, 0xFFFFFFFF)  # window size
    open(out + "/bad-lzx-control.chm", "wb").write(lzx)


main()
