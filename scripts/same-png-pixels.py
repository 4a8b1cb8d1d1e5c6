#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Compares the PNG files of two folders by their pixels rather than their bytes: the header,
the palette and transparency, and the image rows once decompressed and unfiltered. Prints the
files that differ; exits 1 if any does or if a file is missing on one side."""
import os
import struct
import sys
import zlib


def pixels(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    chunks, idat, pos = {}, b"", 8
    while pos + 8 <= len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IDAT":
            idat += body
        elif kind != b"IEND":
            chunks[kind] = body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[b"IHDR"])
    if interlace:
        raise ValueError("interlaced")
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    bpp = max(1, channels * depth // 8)
    stride = (width * channels * depth + 7) // 8
    raw = zlib.decompress(idat)
    rows, prior = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = line[x - bpp] if x >= bpp else 0
            up = prior[x]
            corner = prior[x - bpp] if x >= bpp else 0
            if kind == 1:
                line[x] = (line[x] + left) & 255
            elif kind == 2:
                line[x] = (line[x] + up) & 255
            elif kind == 3:
                line[x] = (line[x] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                pred = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                line[x] = (line[x] + pred) & 255
        rows.append(bytes(line))
        prior = line
    return (chunks[b"IHDR"], chunks.get(b"PLTE"), chunks.get(b"tRNS"), b"".join(rows))


def main(old, new):
    differ = 0
    names = set()
    for top in (old, new):
        for folder, _, files in os.walk(top):
            for name in files:
                if name.endswith(".png"):
                    names.add(os.path.relpath(os.path.join(folder, name), top))
    for name in sorted(names):
        a, b = os.path.join(old, name), os.path.join(new, name)
        if not (os.path.exists(a) and os.path.exists(b)) or pixels(a) != pixels(b):
            print("pixels differ: " + name)
            differ += 1
    print("%d PNG files compared by their pixels, %d differ" % (len(names), differ))
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
