#!/usr/bin/env python3
"""Writes the pictures of the demo "animation" screen into data/textures: the logo's bubble, its
glass highlight and letters, the pointing arrow and its shadow, the hint panel's top and bottom,
and the three cards of the frame changer."""
import math
import os
import struct
import zlib

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "textures")

# 5 x 7 letters of the logo, top row first.
LETTERS = {
    "M": ["X...X", "XX.XX", "X.X.X", "X.X.X", "X...X", "X...X", "X...X"],
    "A": [".XXX.", "X...X", "X...X", "XXXXX", "X...X", "X...X", "X...X"],
    "R": ["XXXX.", "X...X", "X...X", "XXXX.", "X.X..", "X..X.", "X...X"],
    "I": [".XXX.", "..X..", "..X..", "..X..", "..X..", "..X..", ".XXX."],
    "V": ["X...X", "X...X", "X...X", "X...X", "X...X", ".X.X.", "..X.."],
    "E": ["XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "XXXXX"],
    "L": ["X....", "X....", "X....", "X....", "X....", "X....", "XXXXX"],
}


def write_png(name, width, height, pixel):
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(width):
            row += bytes(pixel(x, y))
        rows.append(b"\x00" + bytes(row))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(os.path.join(DATA, name), "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) +
                chunk(b"IEND", b""))


def clamp(v):
    return max(0, min(255, int(round(v))))


def bubble(x, y):
    size = 56
    dx, dy = x + 0.5 - size / 2, y + 0.5 - size / 2
    r = math.hypot(dx, dy) / (size / 2 - 1)
    if r > 1.0:
        return (0, 0, 0, 0)
    edge = min(1.0, (1.0 - r) * 12)
    rim = r ** 4
    return (clamp(40 + 120 * rim), clamp(110 + 110 * rim), clamp(200 + 55 * rim), clamp(edge * (120 + 120 * rim)))


def glass(x, y):
    size = 56
    dx, dy = x + 0.5 - size * 0.36, y + 0.5 - size * 0.3
    r = math.hypot(dx, dy * 1.4) / (size * 0.16)
    if r > 1.0:
        return (0, 0, 0, 0)
    return (255, 255, 255, clamp(200 * (1 - r)))


def letter(glyph):
    scale = 4

    def pixel(x, y):
        gx, gy = x // scale, y // scale
        if glyph[gy][gx] == "X":
            inner = x % scale in (0, scale - 1) or y % scale in (0, scale - 1)
            return (255, 230, 120, 255) if not inner else (230, 150, 40, 255)
        return (0, 0, 0, 0)

    return 5 * scale, 7 * scale, pixel


def arrow(shadow):
    width, height = 48, 24

    def pixel(x, y):
        cy = height / 2
        head = x >= width - 20 and abs(y + 0.5 - cy) <= (width - x) * 0.6
        shaft = x < width - 18 and abs(y + 0.5 - cy) <= 4
        if not (head or shaft):
            return (0, 0, 0, 0)
        return (0, 0, 0, 110) if shadow else (255, 90, 60, 255)

    return width, height, pixel


def panel(height, top):
    width = 280

    def pixel(x, y):
        inside = 3 <= x < width - 3 and ((3 <= y) if top else (y < height - 3))
        if not inside:
            return (200, 230, 255, 255)
        shade = y / height if top else 1 - y / height
        return (clamp(20 + 30 * shade), clamp(50 + 50 * shade), clamp(90 + 60 * shade), 235)

    return width, height, pixel


def card(colour, shape):
    width, height = 180, 110

    def pixel(x, y):
        border = x < 4 or y < 4 or x >= width - 4 or y >= height - 4
        if border:
            return (240, 240, 240, 255)
        cx, cy = x - width / 2, y - height / 2
        if shape == 0:
            on = math.hypot(cx, cy) < 35
        elif shape == 1:
            on = abs(cx) < 32 and abs(cy) < 32
        else:
            on = cy > -30 and abs(cx) < (cy + 30) * 0.7 and cy < 30
        if on:
            return (255, 255, 255, 255)
        return colour + (255,)

    return width, height, pixel


def main():
    write_png("anim_bubble.png", 56, 56, bubble)
    write_png("anim_glass.png", 56, 56, glass)
    for name, glyph in LETTERS.items():
        write_png("anim_letter_%s.png" % name.lower(), *letter(glyph))
    write_png("direct_arrow.png", *arrow(False))
    write_png("direct_arrow_shadow.png", *arrow(True))
    write_png("anim_hint_top.png", *panel(40, True))
    write_png("anim_hint_bottom.png", *panel(30, False))
    for i, colour in enumerate([(200, 70, 60), (60, 150, 80), (70, 90, 190)]):
        write_png("anim_card%d.png" % (i + 1), *card(colour, i))


if __name__ == "__main__":
    main()
