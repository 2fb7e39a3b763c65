#!/usr/bin/env python3
"""Writes the content of the demo "text" screen: a gold copy of the demo font for links under the
mouse (data/fonts/demo_gold.png and .txt, from demo.png and demo.txt), the star picture shown
inside a line (data/textures/text_star.png), the credits picture (data/textures/text_shell.png)
the screen's background (data/textures/text_background.png) and the frame of its help boxes
(data/textures/text_tooltip_frame.png: 64 x 64 with 16-pixel borders)."""
import math
import os
import shutil
import struct
import zlib

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
GOLD = (255, 208, 64)


def write_png(path, width, height, rows):
    raw = b"".join(b"\x00" + bytes(row) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
                chunk(b"IEND", b""))


def read_rgba_png(path):
    """Rows of RGBA bytes of an 8-bit RGBA, non-interlaced PNG."""
    data = open(path, "rb").read()
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length = struct.unpack(">I", data[pos:pos + 4])[0]
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and colour == 6 and interlace == 0, "RGBA 8-bit expected"
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, previous, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up = previous[i]
            upper_left = previous[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - upper_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upper_left)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else upper_left)) & 255
        rows.append(line)
        previous = line
    return width, height, rows


def gold_font():
    width, height, rows = read_rgba_png(os.path.join(DATA, "fonts", "demo.png"))
    for row in rows:
        for x in range(width):
            row[4 * x:4 * x + 3] = bytes(GOLD)
    write_png(os.path.join(DATA, "fonts", "demo_gold.png"), width, height, rows)
    shutil.copyfile(os.path.join(DATA, "fonts", "demo.txt"), os.path.join(DATA, "fonts", "demo_gold.txt"))


def star():
    size, rows = 24, []
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x + 0.5 - size / 2, y + 0.5 - size / 2
            angle = math.atan2(dy, dx)
            # Five points: the radius swings between the inner and the outer one.
            limit = 6.0 + 5.5 * (0.5 + 0.5 * math.cos(5 * angle + math.pi / 2))
            alpha = max(0.0, min(1.0, limit - math.hypot(dx, dy) + 0.5))
            row += [255, 200 + int(40 * alpha), 60, int(255 * alpha)]
        rows.append(row)
    write_png(os.path.join(DATA, "textures", "text_star.png"), size, size, rows)


def shell():
    width, height, rows = 64, 40, []
    for y in range(height):
        row = []
        for x in range(width):
            dx, dy = (x + 0.5 - width / 2) / (width / 2), (height - y - 0.5) / height
            inside = dx * dx + (1 - dy) * (1 - dy) < 1.0 and y < height - 2
            ridge = int(8 * math.atan2(1 - dy, dx) / math.pi) % 2
            colour = (250, 170, 150) if ridge else (235, 140, 120)
            row += list(colour) + [255 if inside else 0]
        rows.append(row)
    write_png(os.path.join(DATA, "textures", "text_shell.png"), width, height, rows)


def background():
    width, height, rows = 64, 64, []
    for y in range(height):
        t = y / (height - 1)
        row = []
        for x in range(width):
            wave = 6 * math.sin(x / 6.0 + y / 9.0)
            row += [int(12 + 20 * t + wave / 2), int(40 + 50 * t + wave), int(70 + 70 * t + wave), 255]
        rows.append(row)
    write_png(os.path.join(DATA, "textures", "text_background.png"), width, height, rows)


def tooltip_frame():
    size, border, rows = 64, 16, []
    for y in range(size):
        row = []
        for x in range(size):
            # Distance inside a rounded square with corner radius 12.
            cx = min(max(x + 0.5, 12.0), size - 12.0)
            cy = min(max(y + 0.5, 12.0), size - 12.0)
            outside = math.hypot(x + 0.5 - cx, y + 0.5 - cy) - 12.0
            alpha = max(0.0, min(1.0, 0.5 - outside))
            edge = min(x + 0.5, y + 0.5, size - x - 0.5, size - y - 0.5)
            rim = 12.0 - math.hypot(x + 0.5 - cx, y + 0.5 - cy) if (cx != x + 0.5 or cy != y + 0.5) else edge
            colour = GOLD if rim < 3.0 else (16, 40, 64)
            row += list(colour) + [int(255 * alpha * (1.0 if rim < 3.0 else 0.9))]
        rows.append(row)
    assert border * 2 < size
    write_png(os.path.join(DATA, "textures", "text_tooltip_frame.png"), size, size, rows)


if __name__ == "__main__":
    gold_font()
    star()
    shell()
    background()
    tooltip_frame()
