#!/usr/bin/env python3
"""Writes the start-up pictures of the demo content: the first screen's background and the four
cursor pictures (data/textures). Standard library only; the output is the same on every run."""
import math
import os
import struct
import sys
import zlib


def write_png(path, width, height, rows, alpha):
    """rows: list of bytes objects, top row first, RGB or RGBA."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\x00" + row for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
                chunk(b"IEND", b""))


def background(path):
    width, height = 800, 600
    bubbles = [(120, 420, 14), (150, 360, 9), (135, 300, 6), (660, 470, 12), (690, 400, 8), (675, 340, 5),
               (420, 520, 7), (440, 470, 5)]
    rows = []
    for y in range(height):
        t = y / (height - 1)
        row = bytearray()
        for x in range(width):
            # Water: light at the top, deep below; slanted light rays.
            r = 20 + 40 * (1 - t)
            g = 90 + 110 * (1 - t)
            b = 140 + 100 * (1 - t)
            ray = math.sin((x + y * 0.45) / 38.0)
            if ray > 0.85 and t < 0.7:
                k = (ray - 0.85) / 0.15 * (0.7 - t) * 0.5
                r, g, b = r + 80 * k, g + 80 * k, b + 60 * k
            # Sand with ripples along the bottom.
            sand_top = 520 + 12 * math.sin(x / 60.0)
            if y > sand_top:
                d = min(1.0, (y - sand_top) / 60.0)
                ripple = 8 * math.sin(x / 9.0 + y / 5.0)
                r, g, b = 170 + 40 * d + ripple, 150 + 30 * d + ripple, 100 + 10 * d
            for bx, by, br in bubbles:
                dist = math.hypot(x - bx, y - by)
                if dist < br:
                    edge = dist / br
                    k = 0.25 + 0.6 * edge ** 4
                    if math.hypot(x - (bx - br * 0.35), y - (by - br * 0.35)) < br * 0.25:
                        k = 0.9
                    r, g, b = r + (255 - r) * k, g + (255 - g) * k, b + (255 - b) * k
            row += bytes((int(max(0, min(255, r))), int(max(0, min(255, g))), int(max(0, min(255, b)))))
        rows.append(bytes(row))
    write_png(path, width, height, rows, False)


def inside_polygon(px, py, points):
    inside = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def cursor(path, shape, fill):
    size = 32
    mask = [[shape(x + 0.5, y + 0.5) for x in range(size)] for y in range(size)]
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            if mask[y][x]:
                border = any(not (0 <= x + dx < size and 0 <= y + dy < size and mask[y + dy][x + dx])
                             for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                row += bytes((0, 0, 0, 255)) if border else bytes(fill + (255,))
            else:
                row += bytes((0, 0, 0, 0))
        rows.append(bytes(row))
    write_png(path, size, size, rows, True)


ARROW = [(4, 1), (4, 23), (9, 18), (13, 27), (17, 25.5), (13, 17), (20, 17)]


def arrow(x, y):
    return inside_polygon(x, y, ARROW)


def hand(x, y):
    finger = 5 <= x <= 10 and 1 <= y <= 16
    knuckles = 10 <= x <= 22 and 9 <= y <= 18
    palm = 4 <= x <= 22 and 14 <= y <= 27 and math.hypot(max(0, 6 - x), max(0, y - 24)) < 4
    thumb = 1 <= x <= 6 and 14 <= y <= 20
    return finger or knuckles or palm or thumb


def forbidden(x, y):
    d = math.hypot(x - 15.5, y - 15.5)
    ring = 9.5 <= d <= 13.5
    bar = abs((x - 15.5) - (y - 15.5)) < 2.8 and d < 12
    return ring or bar


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    out = os.path.join(root, "data", "textures")
    os.makedirs(out, exist_ok=True)
    background(os.path.join(out, "background.png"))
    cursor(os.path.join(out, "cursor_normal.png"), arrow, (255, 255, 255))
    cursor(os.path.join(out, "cursor_active.png"), hand, (255, 235, 150))
    cursor(os.path.join(out, "cursor_pressed.png"), hand, (230, 170, 40))
    cursor(os.path.join(out, "cursor_forbidden.png"), forbidden, (220, 40, 40))


if __name__ == "__main__":
    main()
