#!/usr/bin/env python3
"""Writes the pictures of the demo "lists" screen (data/textures/ls_*.png): list rows in four
looks, arrow buttons in four looks and four directions, strip tiles and three tabs in their
front, rear and hovered looks."""
import math
import os
import struct
import zlib

FOLDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "textures")


def png(name, width, height, pixel):
    """pixel(x, y) gives (r, g, b, a); y counts from the top row."""
    rows = []
    for y in range(height):
        row = bytearray(b"\x00")
        for x in range(width):
            row += bytes(pixel(x, y))
        rows.append(bytes(row))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(os.path.join(FOLDER, name + ".png"), "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) +
                chunk(b"IEND", b""))


def rounded(x, y, width, height, radius):
    """Coverage of the pixel (x, y) by a rounded rectangle filling width x height."""
    cx = min(max(x + 0.5, radius), width - radius)
    cy = min(max(y + 0.5, radius), height - radius)
    return max(0.0, min(1.0, radius - math.hypot(x + 0.5 - cx, y + 0.5 - cy) + 0.5))


def panel(width, height, top, bottom, radius=6):
    def pixel(x, y):
        t = y / max(1, height - 1)
        c = tuple(int(round(a + (b - a) * t)) for a, b in zip(top, bottom))
        a = rounded(x, y, width, height, radius)
        edge = x < 2 or y < 2 or x >= width - 2 or y >= height - 2
        if edge:
            c = tuple(min(255, v + 40) for v in c)
        return c + (int(round(255 * a)) if a >= 0.5 else 0,)
    return pixel


def arrow(size, direction, fill, back):
    """A rounded square with a triangle pointing up, down, left or right."""
    def pixel(x, y):
        a = rounded(x, y, size, size, 6)
        if a < 0.5:
            return (0, 0, 0, 0)
        u, v = (x + 0.5) / size - 0.5, (y + 0.5) / size - 0.5
        if direction == "down":
            v = -v
        elif direction == "left":
            u, v = v, u
        elif direction == "right":
            u, v = v, -u
        inside = -0.25 <= v <= 0.2 and abs(u) <= (v + 0.25) * 0.7
        return (fill if inside else back) + (255,)
    return pixel


def tab(width, height, color, light):
    """A card-file tab: slanted sides, rounded top corners."""
    def pixel(x, y):
        slant = (height - y) * 0.35
        if x + 0.5 < slant or x + 0.5 > width - slant:
            return (0, 0, 0, 0)
        c = tuple(min(255, int(v * light)) for v in color)
        if y < 2:
            c = tuple(min(255, v + 60) for v in c)
        return c + (255,)
    return pixel


def main():
    os.makedirs(FOLDER, exist_ok=True)
    png("ls_row_normal", 220, 30, panel(220, 30, (40, 70, 110), (24, 44, 72)))
    png("ls_row_active", 220, 30, panel(220, 30, (60, 100, 150), (36, 64, 100)))
    png("ls_row_pressed", 220, 30, panel(220, 30, (30, 50, 80), (20, 34, 56)))
    png("ls_row_selected", 220, 30, panel(220, 30, (200, 150, 40), (150, 100, 20)))
    looks = {"normal": ((230, 230, 240), (50, 80, 120)), "active": ((255, 255, 255), (70, 110, 160)),
             "pressed": ((200, 200, 210), (30, 50, 80)), "disabled": ((110, 110, 120), (60, 60, 70))}
    for direction in ("up", "down", "left", "right"):
        for look, (fill, back) in looks.items():
            png("ls_arrow_%s_%s" % (direction, look), 30, 30, arrow(30, direction, fill, back))
    colors = [(200, 70, 60), (220, 170, 50), (80, 170, 90), (60, 130, 200), (150, 90, 190)]
    for k, c in enumerate(colors):
        png("ls_tile_%d" % k, 56, 56, panel(56, 56, c, tuple(v // 2 for v in c), 8))
    for k, c in enumerate([(190, 80, 70), (70, 160, 90), (70, 110, 190)]):
        png("ls_tab%d_front" % k, 110, 36, tab(110, 36, c, 1.15))
        png("ls_tab%d_rear" % k, 110, 36, tab(110, 36, c, 0.55))
        png("ls_tab%d_active" % k, 110, 36, tab(110, 36, c, 0.8))


if __name__ == "__main__":
    main()
