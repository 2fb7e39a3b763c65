#!/usr/bin/env python3
"""Writes the button pictures of the demo "decorators" screen (data/textures/decor_button_*.png):
120 x 40 rounded buttons with a border and an arrow mark on the left, in three looks."""
import math
import os
import struct
import zlib

WIDTH, HEIGHT, RADIUS, BORDER = 120, 40, 9, 2

LOOKS = {
    "normal": ((46, 120, 150), (24, 70, 92)),
    "active": ((70, 160, 190), (30, 96, 124)),
    "pressed": ((30, 88, 112), (12, 44, 60)),
}


def png(path, rows):
    raw = b"".join(b"\x00" + bytes(row) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
                chunk(b"IEND", b""))


def coverage(x, y):
    """How much of the pixel (x, y) lies inside the rounded rectangle, and its distance to the edge."""
    cx = min(max(x + 0.5, RADIUS), WIDTH - RADIUS)
    cy = min(max(y + 0.5, RADIUS), HEIGHT - RADIUS)
    d = RADIUS - math.hypot(x + 0.5 - cx, y + 0.5 - cy)
    return max(0.0, min(1.0, d + 0.5)), d


def in_arrow(x, y):
    # A triangle pointing right, on the left of the button: shows which way the picture turns.
    ax, top, bottom, tip = 14, 10, 30, 34
    if x < ax or x > tip or y < top or y > bottom:
        return False
    half = (bottom - top) / 2 * (1 - (x - ax) / (tip - ax))
    return abs(y - (top + bottom) / 2) <= half


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "textures")
    for look, (light, dark) in LOOKS.items():
        rows = []
        for y in range(HEIGHT):
            row = []
            for x in range(WIDTH):
                alpha, d = coverage(x, y)
                if d < BORDER:
                    color = (230, 236, 240)
                elif in_arrow(x, y):
                    color = (250, 210, 80)
                else:
                    t = y / (HEIGHT - 1)
                    color = tuple(int(a + (b - a) * t) for a, b in zip(light, dark))
                row += [*color, int(round(alpha * 255)) if alpha < 1 else 255]
            rows.append(row)
        png(os.path.join(folder, "decor_button_%s.png" % look), rows)


if __name__ == "__main__":
    main()
