#!/usr/bin/env python3
"""Writes the screensaver launcher's preview picture (screensaver/PreviewPicture.bmp): a 152 x 112
still of a small tank, water fading from light to deep blue over a sand floor, with plants, three
fish and a few bubbles. 24 bits a pixel, uncompressed, so SDL reads it without an image library."""
import math
import os
import struct

WIDTH, HEIGHT = 152, 112
SAND_TOP = 92  # first row of the sand band (rows count from the top)


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


class Canvas:
    def __init__(self):
        self.pixels = [[(0, 0, 0)] * WIDTH for _ in range(HEIGHT)]

    def put(self, x, y, colour, alpha=1.0):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            self.pixels[y][x] = lerp(self.pixels[y][x], colour, alpha)

    def bmp(self):
        row_bytes = WIDTH * 3
        padding = (4 - row_bytes % 4) % 4
        data = bytearray()
        for y in range(HEIGHT - 1, -1, -1):  # bottom row first
            for r, g, b in self.pixels[y]:
                data += bytes((b, g, r))
            data += b"\x00" * padding
        header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
        info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        return header + info + bytes(data)


def water(c):
    light, deep = (150, 215, 235), (18, 62, 120)
    for y in range(SAND_TOP):
        t = y / (SAND_TOP - 1)
        for x in range(WIDTH):
            # Soft light shafts from the surface.
            shaft = max(0.0, math.sin(x * 0.09 + 1.3) * math.sin(x * 0.031)) * (1 - t) * 0.25
            c.put(x, y, lerp(lerp(light, deep, t), (235, 250, 255), shaft))


def sand(c):
    seed = 12345
    for y in range(SAND_TOP, HEIGHT):
        for x in range(WIDTH):
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            grain = ((seed >> 16) & 31) - 16
            base = lerp((214, 186, 130), (160, 128, 80), (y - SAND_TOP) / (HEIGHT - SAND_TOP - 1))
            c.put(x, y, tuple(max(0, min(255, v + grain)) for v in base))
    # The floor line rises and falls a little.
    for x in range(WIDTH):
        top = SAND_TOP - int(round(2 + 2 * math.sin(x * 0.07)))
        for y in range(top, SAND_TOP):
            c.put(x, y, (200, 172, 118))


def plant(c, root, height, phase, colour):
    for y in range(SAND_TOP + 2, SAND_TOP + 2 - height, -1):
        up = SAND_TOP + 2 - y
        x = root + 3 * math.sin(up * 0.12 + phase) * up / height
        width = 2.2 * (1 - up / height) + 0.8
        for px in range(int(x - width) - 1, int(x + width) + 2):
            d = abs(px + 0.5 - x)
            if d < width:
                c.put(px, y, colour, min(1.0, width - d))


def ellipse(c, cx, cy, rx, ry, colour):
    for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
        for x in range(int(cx - rx) - 1, int(cx + rx) + 2):
            d = ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2
            if d <= 1.0:
                c.put(x, y, colour, min(1.0, (1.0 - d) * rx))


def fish(c, cx, cy, size, body, fin, facing):
    # Tail: a triangle behind the body.
    back = cx - facing * size
    for y in range(int(cy - size * 0.6), int(cy + size * 0.6) + 1):
        spread = abs(y + 0.5 - cy) / (size * 0.6)
        length = size * 0.7 * (1 - 0.5 * spread)
        for i in range(int(length) + 1):
            c.put(int(round(back - facing * (size * 0.7 - length + i))), y, fin)
    ellipse(c, cx, cy, size, size * 0.55, body)
    ellipse(c, cx - facing * size * 0.1, cy - size * 0.45, size * 0.4, size * 0.18, fin)
    eye_x = cx + facing * size * 0.55
    ellipse(c, eye_x, cy - size * 0.12, 1.6, 1.6, (255, 255, 255))
    c.put(int(eye_x), int(cy - size * 0.12), (10, 10, 20))


def bubble(c, cx, cy, r):
    for y in range(int(cy - r) - 1, int(cy + r) + 2):
        for x in range(int(cx - r) - 1, int(cx + r) + 2):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if abs(d - r) < 0.7:
                c.put(x, y, (235, 248, 255), 0.8)
            elif d < r:
                c.put(x, y, (200, 235, 250), 0.25)


def main():
    c = Canvas()
    water(c)
    sand(c)
    plant(c, 14, 58, 0.0, (40, 130, 60))
    plant(c, 21, 40, 1.7, (60, 160, 70))
    plant(c, 128, 64, 2.4, (34, 118, 66))
    plant(c, 137, 44, 0.6, (70, 150, 50))
    plant(c, 76, 22, 1.1, (90, 140, 40))
    fish(c, 58, 40, 11, (250, 140, 30), (255, 200, 60), 1)
    fish(c, 104, 62, 8, (240, 220, 60), (250, 120, 40), -1)
    fish(c, 40, 72, 6, (220, 70, 90), (250, 170, 180), 1)
    for x, y, r in ((118, 30, 3.0), (121, 20, 2.2), (116, 11, 1.6), (70, 24, 1.8), (72, 14, 1.3)):
        bubble(c, x, y, r)
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "screensaver", "PreviewPicture.bmp")
    with open(out, "wb") as f:
        f.write(c.bmp())


if __name__ == "__main__":
    main()
