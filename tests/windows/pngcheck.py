#!/usr/bin/env python3
"""pngcheck.py FILE: exits 0 when the PNG shows content, not one flat colour.

Content means at least 8 distinct colours and no colour on more than 97% of
the pixels. Reads 8-bit RGB and RGBA PNGs, as Qt writes them, with the
standard library only."""
import struct
import sys
import zlib


def pixels(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour = header[:4]
    channels = {2: 3, 6: 4}.get(colour)
    if depth != 8 or channels is None or header[6] != 0:
        raise ValueError("not 8-bit RGB or RGBA without interlace")
    raw = zlib.decompress(idat)
    stride = width * channels
    previous = bytearray(stride)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind, row = line[0], bytearray(line[1:])
        for i in range(stride):
            left = row[i - channels] if i >= channels else 0
            up = previous[i]
            upper_left = previous[i - channels] if i >= channels else 0
            if kind == 1:
                row[i] = (row[i] + left) & 255
            elif kind == 2:
                row[i] = (row[i] + up) & 255
            elif kind == 3:
                row[i] = (row[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - upper_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upper_left)
                row[i] = (row[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else upper_left)) & 255
        for x in range(0, stride, channels):
            yield bytes(row[x:x + 3])
        previous = row


def main():
    counts = {}
    total = 0
    for colour in pixels(sys.argv[1]):
        counts[colour] = counts.get(colour, 0) + 1
        total += 1
    top = max(counts.values()) if counts else 0
    print(f"{sys.argv[1]}: {total} pixels, {len(counts)} colours, the commonest on {100 * top // max(total, 1)}%")
    return 0 if len(counts) >= 8 and top <= 0.97 * total else 1


if __name__ == "__main__":
    sys.exit(main())
