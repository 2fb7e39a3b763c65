#!/usr/bin/env python3
"""Draws the pictures of the demo game field into data/textures/match3/: nine chip animations and
five bonus animations (frames in rows of eight), the cell, the glow around a painted cell, the lock
atlas, arrows, the timer bar and the game screen's background. Uses the PNG writer of
make-menu-pictures.py."""

import importlib.util
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location("menu_pictures", os.path.join(HERE, "..", "make-menu-pictures.py"))
menu = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(menu)

write_png = menu.write_png
mix = menu.mix
smooth = menu.smooth

PIECE = 42
COLUMNS = 8
CHIP_COLOURS = [
    (220, 60, 60), (60, 170, 230), (80, 200, 90), (240, 200, 60), (180, 90, 220),
    (240, 130, 40), (230, 230, 230), (60, 80, 200), (240, 110, 170),
]
BONUS_COLOURS = [(255, 120, 30), (40, 40, 50), (200, 40, 40), (120, 220, 80), (250, 250, 120)]


def sheet(name, frames, draw):
    rows = (frames + COLUMNS - 1) // COLUMNS
    width = COLUMNS * PIECE
    height = rows * PIECE

    def pixel(x, y):
        row_from_top = (height - 1 - y) // PIECE
        frame = row_from_top * COLUMNS + x // PIECE
        if frame >= frames:
            return (0, 0, 0, 0)
        lx = x % PIECE + 0.5
        ly = (y % PIECE) + 0.5
        return draw(frame, lx, ly)

    write_png(os.path.join("match3", name), width, height, pixel)


def chip(colour, shape):
    def draw(frame, x, y):
        cx = cy = PIECE / 2
        # Frames 1..35 turn the piece, 36..71 make it wink.
        turn = math.sin(frame / 35.0 * math.pi) if 1 <= frame <= 35 else 0.0
        wink = math.sin((frame - 36) / 35.0 * math.pi) if frame >= 36 else 0.0
        sx = 1.0 - 0.35 * turn
        dx = (x - cx) / sx
        dy = y - cy
        if shape % 3 == 0:
            d = math.hypot(dx, dy) - 17
        elif shape % 3 == 1:
            d = max(abs(dx), abs(dy)) - 15
        else:
            d = abs(dx) + abs(dy) - 19
        inside = 1.0 - smooth(-1.0, 1.0, d)
        if inside <= 0.0:
            return (0, 0, 0, 0)
        shine = max(0.0, 1.0 - math.hypot(dx + 6, dy - 7) / 10.0) * (0.6 + 0.4 * wink)
        base = mix(colour, (0, 0, 0), 0.35 * smooth(-8.0, 0.0, d))
        r, g, b = mix(base, (255, 255, 255), shine)
        return (r, g, b, 255 * inside)
    return draw


def bonus(colour, kind):
    def draw(frame, x, y):
        cx = cy = PIECE / 2
        pulse = 0.5 + 0.5 * math.sin(frame / 32.0 * 2 * math.pi)
        d = math.hypot(x - cx, y - cy) - 15
        inside = 1.0 - smooth(-1.0, 1.0, d)
        angle = math.atan2(y - cy, x - cx) + frame / 32.0 * 2 * math.pi
        star = 0.5 + 0.5 * math.cos(angle * (kind + 3))
        ring = max(0.0, 1.0 - abs(math.hypot(x - cx, y - cy) - 18) / 2.5) * pulse
        a = max(inside, ring)
        if a <= 0.0:
            return (0, 0, 0, 0)
        r, g, b = mix(colour, (255, 255, 200), 0.5 * star * inside + ring)
        return (r, g, b, 255 * a)
    return draw


def single(name, width, height, draw):
    write_png(os.path.join("match3", name), width, height, draw)


def cell(x, y):
    edge = min(x, y, 43 - x, 43 - y)
    a = 120 if edge >= 1 else 170
    return (20, 50, 90, a)


def cell_glow(x, y):
    # 11 units beyond the cell on every side, brightest on the cell's edge.
    edge = max(abs(x + 0.5 - 33) - 22, abs(y + 0.5 - 33) - 22)
    a = 255 * max(0.0, 1.0 - abs(edge) / 11.0) ** 1.5
    return (255, 255, 160, a)


def locks(x, y):
    """The lock atlas: tile (1, 0) one lock, tile (2, 0) two, 44-unit tiles from the top of 256."""
    column = x // 44
    if y < 256 - 44 or column not in (1, 2):
        return (0, 0, 0, 0)
    lx, ly = x % 44, y - (256 - 44)
    bar = (lx % 11 in (4, 5, 6)) or (ly % 11 in (4, 5, 6))
    frame = min(lx, ly, 43 - lx, 43 - ly) < 3
    if column == 2:
        # The double lock: heavier bars and a padlock in the middle.
        bar = bar or (lx % 11 in (3, 7)) or (ly % 11 in (3, 7))
        if abs(lx - 21.5) < 7 and 10 <= ly < 22:
            return (210, 170, 60, 255)
        if 22 <= ly < 30 and 3.5 < math.hypot(lx - 21.5, ly - 22) < 6.5:
            return (200, 200, 210, 255)
    if bar or frame:
        return (150, 150, 160, 210)
    return (0, 0, 0, 0)


def arrow(direction):
    def draw(x, y):
        # Pointing right at (16 x 16); other directions turn the point.
        u, v = x + 0.5, y + 0.5
        if direction == "left":
            u = 16 - u
        elif direction == "up":
            u, v = v, u
        elif direction == "down":
            u, v = 16 - v, u
        inside = u < 15 and abs(v - 8) < (15 - u) * 0.55
        return (255, 240, 120, 230) if inside else (0, 0, 0, 0)
    return draw


def timer_bar(x, y):
    t = y / 207.0
    r, g, b = mix((220, 60, 40), (80, 220, 120), t)
    edge = min(x, 23 - x)
    return (r, g, b, 230 if edge >= 2 else 255)


def background(x, y):
    t = y / 600.0
    r, g, b = mix((6, 30, 60), (20, 90, 140), t)
    wave = 0.5 + 0.5 * math.sin(x * 0.03 + y * 0.01)
    return (r + 8 * wave, g + 10 * wave, b + 12 * wave, 255)


def main():
    os.makedirs(os.path.join(menu.OUT, "match3"), exist_ok=True)
    for c, colour in enumerate(CHIP_COLOURS):
        sheet("field_chip%d.png" % c, 72, chip(colour, c))
    for k, colour in enumerate(BONUS_COLOURS):
        sheet("field_bonus%d.png" % (k + 1), 32, bonus(colour, k + 1))
    single("field_cell.png", 44, 44, cell)
    single("field_cell_glow.png", 66, 66, cell_glow)
    single("field_locks.png", 3 * 44, 256, locks)
    for direction in ("left", "right", "up", "down"):
        single("field_arrow_%s.png" % direction, 16, 16, arrow(direction))
    single("field_timer_bar.png", 24, 207, timer_bar)
    single("field_background.png", 800, 600, background)


if __name__ == "__main__":
    main()
