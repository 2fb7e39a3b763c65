#!/usr/bin/env python3
"""Writes the demo frame animations under data/anim: a numbered frame sequence, a sprite sheet,
a packed sprite sheet with its side file, and a few pictures for the "ForEachFile" demo."""
import math
import os
import struct
import sys
import zlib


def write_png(path, width, height, pixel):
    rows = b""
    for y in range(height):
        row = bytearray([0])
        for x in range(width):
            row += bytes(pixel(x, y))
        rows += bytes(row)
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def disc(cx, cy, r, colour, phase):
    """A soft disc whose brightness follows the phase."""
    def pixel(x, y):
        d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
        a = max(0.0, min(1.0, r - d))
        k = 0.6 + 0.4 * math.cos(phase)
        return (int(colour[0] * k), int(colour[1] * k), int(colour[2] * k), int(255 * a))
    return pixel


def main(root):
    anim = os.path.join(root, "data", "anim")
    each = os.path.join(anim, "each")
    os.makedirs(each, exist_ok=True)
    # Eight frames of a pulsing crab-coloured disc, crab0.png .. crab7.png.
    for i in range(8):
        write_png(os.path.join(anim, "crab%d.png" % i), 32, 32,
                  disc(16, 16, 8 + i, (230, 90, 40), i * math.pi / 4))
    # A sheet of 4 x 2 cells of 32 x 32, each with its own hue.
    def sheet(x, y):
        cell = (y // 32) * 4 + x // 32
        return disc(x // 32 * 32 + 16, y // 32 * 32 + 16, 6 + cell * 1.2,
                    (40 + cell * 25, 120, 240 - cell * 25), 0)(x, y)
    write_png(os.path.join(anim, "sheet.png"), 128, 64, sheet)
    # A packed sheet: four frames of 32 x 32 whose visible parts are packed without their margins.
    frames = []
    x = 0
    for i in range(4):
        size = 12 + 4 * i
        frames.append((x, 0, size, size, 32, 32, (32 - size) // 2, (32 - size) // 2))
        x += size
    def packed(px, py):
        for (fx, fy, w, h, _fw, _fh, _ix, _iy) in frames:
            if fx <= px < fx + w and fy <= py < fy + h:
                return disc(fx + w / 2, fy + h / 2, w / 2, (250, 220, 60), 0)(px, py)
        return (0, 0, 0, 0)
    write_png(os.path.join(anim, "packed.png"), 128, 32, packed)
    with open(os.path.join(anim, "packed.xml"), "w", newline="\r\n") as f:
        f.write('<PackedAnimation count="%d">\n' % len(frames))
        for (fx, fy, w, h, fw, fh, ix, iy) in frames:
            f.write('\t<frame x="%d" y="%d" width="%d" height="%d" frameWidth="%d" frameHeight="%d" '
                    'innerX="%d" innerY="%d"/>\n' % (fx, fy, w, h, fw, fh, ix, iy))
        f.write("</PackedAnimation>\n")
    # Pictures that the "ForEachFile" demo registers one by one.
    for name, colour in (("Coral.PNG", (250, 110, 120)), ("shell.png", (240, 230, 200)), ("weed.png", (60, 200, 90))):
        write_png(os.path.join(each, name), 16, 16, disc(8, 8, 7, colour, 0))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
