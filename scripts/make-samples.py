#!/usr/bin/env python3
"""Draws the sample line drawing that `make run` converts, and writes it as
24-bit, 1-bit and RLE8 .bmp files into res/samples/. Standard library only."""

import math
import struct
import sys
from pathlib import Path

W, H = 320, 240


def draw():
    """A small mechanical part: a plate with holes, a slot, centre lines and
    a dimension line. Returns rows top to bottom of 0 (ink) / 1 (paper)."""
    img = [[1] * W for _ in range(H)]

    def dot(x, y, r=1):
        for dy in range(-r + 1, r):
            for dx in range(-r + 1, r):
                if 0 <= x + dx < W and 0 <= y + dy < H:
                    img[y + dy][x + dx] = 0

    def line(x0, y0, x1, y1, r=1):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            dot(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), r)

    def circle(cx, cy, rad, r=1):
        steps = int(2 * math.pi * rad) + 8
        for i in range(steps):
            a = 2 * math.pi * i / steps
            dot(round(cx + rad * math.cos(a)), round(cy + rad * math.sin(a)), r)

    def disc(cx, cy, rad):
        for y in range(cy - rad, cy + rad + 1):
            for x in range(cx - rad, cx + rad + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= rad * rad:
                    dot(x, y)

    # Plate outline with a chamfered corner.
    line(40, 40, 260, 40, 2)
    line(260, 40, 280, 60, 2)
    line(280, 60, 280, 190, 2)
    line(280, 190, 40, 190, 2)
    line(40, 190, 40, 40, 2)
    # Bolt holes and a filled boss.
    for cx, cy in ((80, 80), (240, 80), (80, 150), (240, 150)):
        circle(cx, cy, 12)
    circle(160, 115, 35, 2)
    disc(160, 115, 10)
    # Slot.
    line(110, 170, 210, 170)
    line(110, 180, 210, 180)
    # Centre lines, dashed.
    for x in range(110, 212, 12):
        line(x, 115, min(x + 7, 210), 115)
    for y in range(65, 167, 12):
        line(160, y, 160, min(y + 7, 165))
    # Dimension line with arrows.
    line(40, 215, 280, 215)
    line(40, 205, 40, 225)
    line(280, 205, 280, 225)
    line(40, 215, 50, 210)
    line(40, 215, 50, 220)
    line(280, 215, 270, 210)
    line(280, 215, 270, 220)
    return img


def header(width, height, bits, compression, image_size, colours):
    palette = len(colours) * 4
    offset = 14 + 40 + palette
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, image_size,
                       2835, 2835, len(colours), 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in colours)
    return struct.pack("<2sIHHI", b"BM", offset + image_size, 0, 0, offset) + info + table


def bmp24(img):
    stride = (3 * W + 3) // 4 * 4
    rows = []
    for y in range(H - 1, -1, -1):
        row = bytearray()
        for x in range(W):
            ink = img[y][x] == 0
            # Ink in a dark blue-grey, paper slightly warm: a scan, not pure black/white.
            row += bytes((60, 40, 30)) if ink else bytes((235, 245, 250))
        rows.append(bytes(row) + b"\0" * (stride - len(row)))
    data = b"".join(rows)
    return header(W, H, 24, 0, len(data), []) + data


def bmp1(img):
    stride = (W + 31) // 32 * 4
    rows = []
    for y in range(H - 1, -1, -1):
        row = bytearray(stride)
        for x in range(W):
            if img[y][x]:
                row[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
    data = b"".join(rows)
    return header(W, H, 1, 0, len(data), [(0, 0, 0), (255, 255, 255)]) + data


def bmp_rle8(img):
    out = bytearray()
    for y in range(H - 1, -1, -1):
        row = img[y]
        x = 0
        while x < W:
            n = 1
            while x + n < W and n < 255 and row[x + n] == row[x]:
                n += 1
            out += bytes((n, row[x]))
            x += n
        out += b"\0\0"
    out += b"\0\1"
    return header(W, H, 8, 1, len(out), [(0, 0, 0), (255, 255, 255)]) + bytes(out)


def main():
    target = Path(sys.argv[1] if len(sys.argv) > 1 else "res/samples")
    target.mkdir(parents=True, exist_ok=True)
    img = draw()
    (target / "drawing-24.bmp").write_bytes(bmp24(img))
    (target / "drawing-1.bmp").write_bytes(bmp1(img))
    (target / "drawing-rle8.bmp").write_bytes(bmp_rle8(img))


if __name__ == "__main__":
    main()
