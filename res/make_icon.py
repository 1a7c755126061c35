#!/usr/bin/env python3
"""Draws the program icon (a broom over a blue disc) as a 32-bit .ico with 16, 32 and 48 px images."""
import math
import struct
import sys


def pixel(x, y, size):
    c = (size - 1) / 2.0
    r = size * 0.46
    d = math.hypot(x - c, y - c)
    if d > r:
        return (0, 0, 0, 0)
    # broom handle: a diagonal band from top right to centre
    u = (x - c) / size
    v = (y - c) / size
    if abs(u + v) < 0.07 and -0.35 < u < 0.05:
        return (40, 170, 250, 255)  # handle in light blue? keep the palette
    if abs(u + v) < 0.06 and u >= -0.05 and u < 0.33:
        return (150, 90, 40, 255)
    if v > 0.02 and u < 0.0 and v - 0.1 < -u * 1.6 + 0.25 and u > -0.32:
        return (240, 200, 60, 255)
    shade = int(160 + 60 * (1 - d / r))
    return (30, 80, shade, 255)


def image(size):
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        row = b""
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            row += bytes((b, g, r, a))
        rows.append(row)
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    and_mask = b"\0" * (mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def main(path):
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    import os
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1])
