#!/usr/bin/env python3
"""Draws the pictures of the demo menu screens (backgrounds, title, button looks) into
data/textures/. Plain Python: the PNG files are written with zlib."""

import math
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "textures")


def write_png(name, width, height, pixel):
    """pixel(x, y) -> (r, g, b, a) with y counted from the bottom, each 0..255."""
    rows = bytearray()
    for row in range(height):
        y = height - 1 - row
        rows.append(0)
        for x in range(width):
            r, g, b, a = pixel(x, y)
            rows += bytes((clamp(r), clamp(g), clamp(b), clamp(a)))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    png += chunk(b"IEND", b"")
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(png)



def supersample(width, height, shape, samples=3):
    """Rows of (r, g, b, a), a in 0..255, from shape(x, y) -> ((r, g, b), coverage 0..1) sampled
    samples x samples times inside each pixel, for soft edges."""
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    colour, a = shape(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples)
                    for i in range(3):
                        acc[i] += colour[i] * a
                    acc[3] += a
            if acc[3] > 0:
                row.append((acc[0] / acc[3], acc[1] / acc[3], acc[2] / acc[3], 255 * acc[3] / samples ** 2))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows

def clamp(v):
    return max(0, min(255, int(round(v))))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


def smooth(edge0, edge1, v):
    t = max(0.0, min(1.0, (v - edge0) / (edge1 - edge0)))
    return t * t * (3 - 2 * t)


def rounded_box_distance(x, y, width, height, radius):
    """Signed distance to the border of a rounded rectangle (negative inside)."""
    cx = abs(x + 0.5 - width / 2.0) - (width / 2.0 - radius)
    cy = abs(y + 0.5 - height / 2.0) - (height / 2.0 - radius)
    outside = math.hypot(max(cx, 0.0), max(cy, 0.0))
    return outside + min(max(cx, cy), 0.0) - radius


def background(name, deep, light, rays):
    size = 256

    def pixel(x, y):
        t = y / (size - 1.0)
        colour = mix(deep, light, t * t)
        if rays:
            ray = 0.5 + 0.5 * math.sin(x * 0.09 + y * 0.03) * math.sin(x * 0.021 - y * 0.05)
            colour = mix(colour, (255, 255, 255), 0.10 * ray * t)
        return colour + (255,)

    write_png(name, size, size, pixel)


def title():
    width, height = 400, 120

    def pixel(x, y):
        d = rounded_box_distance(x, y, width, height, 40)
        alpha = 1.0 - smooth(-1.5, 0.5, d)
        t = y / (height - 1.0)
        colour = mix((18, 92, 140), (90, 200, 220), t)
        # Two waves across the banner.
        for k, (amp, base) in enumerate(((8.0, 40.0), (6.0, 62.0))):
            wave = base + amp * math.sin(x * 0.045 + k * 1.7)
            if abs(y - wave) < 3.0:
                colour = mix(colour, (230, 250, 255), 0.8 - abs(y - wave) / 4.0)
        # A fish: an ellipse body and a triangular tail.
        fx, fy = (x - 200) / 46.0, (y - 78) / 22.0
        tail = x > 244 and x < 276 and abs(y - 78) < (x - 244) * 0.7
        if fx * fx + fy * fy < 1.0 or tail:
            colour = (250, 170, 60)
            if (x - 178) ** 2 + (y - 84) ** 2 < 16:
                colour = (20, 30, 40)
        rim = smooth(-6.0, -1.0, d)
        colour = mix(colour, (240, 250, 255), rim * 0.9)
        return colour + (255 * alpha,)

    write_png("menu_title.png", width, height, pixel)


def button(name, fill_top, fill_bottom, rim, glow, pressed):
    width, height = 220, 50

    def pixel(x, y):
        d = rounded_box_distance(x, y, width, height, 24)
        alpha = 1.0 - smooth(-1.5, 0.5, d)
        t = y / (height - 1.0)
        colour = mix(fill_bottom, fill_top, 1.0 - t if pressed else t)
        colour = mix(colour, rim, smooth(-4.0, -1.0, d))
        if glow:
            colour = mix(colour, (255, 255, 255), 0.25 * smooth(-14.0, -3.0, d))
        # A soft highlight on the upper half.
        if y > height * 0.55 and not pressed:
            colour = mix(colour, (255, 255, 255), 0.18)
        return colour + (255 * alpha,)

    write_png(name, width, height, pixel)


def main():
    background("menu_background.png", (8, 40, 90), (40, 150, 190), True)
    background("second_background.png", (120, 70, 40), (240, 210, 150), False)
    title()
    button("menu_button_normal.png", (40, 130, 170), (20, 80, 120), (200, 240, 255), False, False)
    button("menu_button_active.png", (70, 180, 210), (30, 120, 160), (255, 255, 255), True, False)
    button("menu_button_pressed.png", (30, 100, 140), (10, 60, 90), (180, 220, 240), False, True)


if __name__ == "__main__":
    main()
