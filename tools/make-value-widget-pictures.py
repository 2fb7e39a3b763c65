#!/usr/bin/env python3
"""Writes the pictures of the demo "controls" screen (data/textures/vw_*.png): the check box in
four looks, the slider's track, filled part and button in two looks each, and the progress bar's
background, filling, shadow, mask, frame and marker."""
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


def mix(a, b, t):
    return tuple(int(round(p + (q - p) * t)) for p, q in zip(a, b))


def check_box():
    size = 28

    def look(face, checked):
        def pixel(x, y):
            cover = rounded(x, y, size, size, 6)
            inner = rounded(x - 3, y - 3, size - 6, size - 6, 4)
            color = mix((235, 240, 245), face, inner)
            # The tick: two strokes from (7, 14) down to (12, 20) and up to (21, 8).
            if checked and inner > 0.5:
                d1 = abs((y - 14) - (x - 7) * 6 / 5) / math.hypot(1, 6 / 5) if 7 <= x <= 12 else 99
                d2 = abs((y - 20) + (x - 12) * 12 / 9) / math.hypot(1, 12 / 9) if 12 <= x <= 21 else 99
                if min(d1, d2) < 2.0:
                    color = (250, 220, 90)
            return (*color, int(round(cover * 255)))
        return pixel

    png("vw_check_unchecked_normal", size, size, look((40, 90, 120), False))
    png("vw_check_unchecked_active", size, size, look((60, 130, 170), False))
    png("vw_check_checked_normal", size, size, look((40, 90, 120), True))
    png("vw_check_checked_active", size, size, look((60, 130, 170), True))


def slider():
    width, height = 220, 16
    button_width, button_height = 16, 24

    def track(color, inset):
        def pixel(x, y):
            cover = rounded(x - inset, y - inset, width - 2 * inset, height - 2 * inset, (height - 2 * inset) / 2)
            return (*mix(color, (20, 40, 60), y / (height - 1) * 0.4), int(round(cover * 255)))
        return pixel

    # The normal track is a little thinner than the active one, the filled part thinner still.
    png("vw_slider_back_normal", width, height, track((90, 110, 130), 1))
    png("vw_slider_back_active", width, height, track((120, 140, 160), 0))
    png("vw_slider_front_normal", width, height, track((70, 170, 110), 3))
    png("vw_slider_front_active", width, height, track((90, 210, 140), 3))

    def button(face):
        def pixel(x, y):
            cover = rounded(x, y, button_width, button_height, 5)
            edge = rounded(x - 2, y - 2, button_width - 4, button_height - 4, 3)
            return (*mix((240, 240, 240), face, edge), int(round(cover * 255)))
        return pixel

    png("vw_slider_button_normal", button_width, button_height, button((200, 150, 60)))
    png("vw_slider_button_active", button_width, button_height, button((240, 190, 80)))


def progress_bar():
    width, height, border = 240, 24, 8
    # Background, filling and frame share the rounded outline.
    def outline(x, y):
        return int(round(rounded(x, y, width, height, 8) * 255))

    png("vw_progress_background", width, height,
        lambda x, y: (*mix((30, 35, 50), (15, 18, 28), y / (height - 1)), outline(x, y)))
    png("vw_progress_filling", width, height,
        lambda x, y: (*mix((60, 200, 90), (20, 110, 60), y / (height - 1)), outline(x, y)))
    # The shadow darkens the end of the fill; the mask lays a bright edge over it.
    png("vw_progress_shadow", 6, height, lambda x, y: (0, 0, 0, 20 * x))
    png("vw_progress_mask", 6, height, lambda x, y: (200, 255, 210, 200 if x == 5 else 0))

    def frame(x, y):
        inside = border <= x < width - border and 4 <= y < height - 4
        if inside:
            return (0, 0, 0, 0)
        return (*mix((200, 205, 215), (110, 115, 130), y / (height - 1)), outline(x, y))

    png("vw_progress_frame", width, height, frame)
    png("vw_progress_marker", 2, height, lambda x, y: (255, 255, 255, 180 if 4 <= y < height - 4 else 0))


def main():
    check_box()
    slider()
    progress_bar()


if __name__ == "__main__":
    main()
