#!/usr/bin/env python3
"""Draws the pictures of the level-complete statistics, the game panel and the level editor into
data/textures/match3/: the banner, three cups, the small golden and silver tiles, and the editor's
panel, tool and command buttons, birth-cell marker and level list arrows. Uses the PNG writer of make-menu-pictures.py."""

import importlib.util
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location("menu_pictures", os.path.join(HERE, "..", "make-menu-pictures.py"))
menu = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(menu)

mix = menu.mix
smooth = menu.smooth
box_distance = menu.rounded_box_distance

GOLD = (250, 200, 60)
SILVER = (205, 215, 230)
BRONZE = (205, 125, 60)
CELL = (40, 80, 130)


def single(name, width, height, draw):
    menu.write_png(os.path.join("match3", name), width, height, draw)


def star_distance(x, y, cx, cy, radius):
    """Negative inside a five-pointed star."""
    angle = math.atan2(y - cy, x - cx) - math.pi / 2
    sector = (angle % (2 * math.pi / 5)) / (2 * math.pi / 5)
    reach = radius * (0.5 + 0.5 * abs(sector - 0.5) * 2) ** 1.6
    return math.hypot(x - cx, y - cy) - max(reach, radius * 0.45)


def banner(x, y):
    # A ribbon with folded ends and three stars.
    width, height = 320, 72
    body = box_distance(x - 30, y - 10, width - 60, height - 20, 10)
    left = box_distance(x, y, 44, height - 32, 4) if x < 44 else 99
    right = box_distance(x - (width - 44), y, 44, height - 32, 4) if x >= width - 44 else 99
    notch = (x < 10 and abs(y - (height - 32) / 2) < (10 - x)) or \
        (x > width - 11 and abs(y - (height - 32) / 2) < (x - (width - 11)))
    colour, a = (0, 0, 0), 0.0
    if min(left, right) < 0 and not notch:
        colour, a = mix(BRONZE, (120, 60, 20), 0.3), 1.0
    if body < 1:
        t = y / float(height)
        colour = mix((230, 140, 30), GOLD, t)
        colour = mix(colour, (120, 60, 10), 0.6 * smooth(-3.0, 1.0, body))
        a = 1.0 - smooth(0.0, 1.0, body)
    for cx in (110, 160, 210):
        d = star_distance(x + 0.5, y + 0.5, cx, 36, 15 if cx == 160 else 11)
        if d < 1 and body < 0:
            colour = mix((255, 250, 200), colour, smooth(-1.0, 1.0, d))
    return colour + (255 * a,)


def cup(metal):
    # The cup stands in the left five eighths of its 24 x 28 picture: the statistics lay the
    # picture's right part under the space before its count.
    def draw(x, y):
        u, v = (x + 0.5) * 2.0, (y + 0.5) * 32.0 / 28.0
        bowl = math.hypot((u - 15) / 9.0, (v - 21) / 10.0) < 1.0 and v > 13
        rim = abs(v - 31) < 1.5 and abs(u - 15) < 10
        stem = abs(u - 15) < 3 and 6 < v <= 13
        foot = abs(u - 15) < 8 and 2 <= v <= 6
        handle = abs(math.hypot(u - 4.5, v - 23) - 3.5) < 1.6 or abs(math.hypot(u - 25.5, v - 23) - 3.5) < 1.6
        if not (bowl or rim or stem or foot or handle):
            return (0, 0, 0, 0)
        shine = max(0.0, 1.0 - abs(u - 11) / 4.0) * 0.5 if bowl else 0.0
        r, g, b = mix(mix(metal, (60, 40, 20), 0.25 * (1 - v / 32.0)), (255, 255, 255), shine)
        return (r, g, b, 255)
    return draw


def tile(metal):
    def draw(x, y):
        d = box_distance(x, y, 22, 22, 4)
        if d > 0.5:
            return (0, 0, 0, 0)
        edge = smooth(-3.0, 0.0, d)
        r, g, b = mix(mix(metal, (255, 255, 255), 0.3 * (y / 22.0)), (80, 60, 40), 0.5 * edge)
        return (r, g, b, 255 * (1.0 - smooth(-0.5, 0.5, d)))
    return draw


def panel(x, y):
    d = box_distance(x, y, 44, 540, 6)
    if d > 0.5:
        return (0, 0, 0, 0)
    return mix((10, 20, 40), (60, 90, 130), smooth(-2.0, 0.0, d)) + (215,)


def button_base(x, y, fill):
    d = box_distance(x, y, 36, 36, 5)
    if d > 0.5:
        return None
    colour = mix(fill, (20, 30, 50), smooth(-2.0, 0.0, d))
    return colour + (255 * (1.0 - smooth(-0.5, 0.5, d)),)


def tool(kind):
    fills = [CELL, CELL, SILVER, GOLD, CELL, CELL]

    def draw(x, y):
        base = button_base(x, y, fills[kind])
        if base is None:
            return (0, 0, 0, 0)
        u, v = x + 0.5, y + 0.5
        mark = False
        if kind == 1:  # birth: an arrow pointing down
            mark = (abs(u - 18) < 3 and 16 < v < 30) or (v <= 16 and abs(u - 18) < (v - 6) * 0.8 and v > 6)
        elif kind in (4, 5):  # one or two lock bars
            mark = abs(v - 18) < 2 or (kind == 5 and abs(u - 18) < 2)
        if mark:
            return (250, 250, 240, 255)
        return base
    return draw


def command(kind):
    fills = {16: (60, 150, 80), 17: (70, 110, 190), 18: (40, 140, 170), 19: (180, 60, 60),
             20: (170, 120, 40), 21: (140, 80, 170), 22: (90, 90, 90)}

    def draw(x, y):
        base = button_base(x, y, fills[kind])
        if base is None:
            return (0, 0, 0, 0)
        u, v = x + 0.5 - 18, y + 0.5 - 18
        if kind == 16:  # new: a plus
            mark = (abs(u) < 2 and abs(v) < 10) or (abs(v) < 2 and abs(u) < 10)
        elif kind == 17:  # open: a folder
            mark = -9 < u < 10 and -7 < v < 6 and not (-7 < u < 8 and -5 < v < 3) or (-9 < u < -1 and 6 <= v < 9)
        elif kind == 18:  # save: an arrow down onto a bar
            mark = (abs(u) < 2 and -2 < v < 10) or (-8 < v <= -2 and abs(u) < (v + 9) * 0.9) or abs(v + 10) < 1.5
        elif kind == 19:  # delete: a cross
            mark = abs(u - v) < 2.5 and abs(u) < 10 or abs(u + v) < 2.5 and abs(u) < 10
        elif kind == 20:  # time: a clock
            mark = abs(math.hypot(u, v) - 10) < 1.5 or (abs(u) < 1.5 and 0 < v < 8) or (abs(v) < 1.5 and 0 < u < 6)
        elif kind == 21:  # chips: three dots
            mark = any(math.hypot(u - cx, v - cy) < 3.5 for cx, cy in ((-7, -5), (7, -5), (0, 7)))
        else:  # born points again: two arrows down
            mark = any((abs(u - cx) < 1.5 and -2 < v < 9) or (-9 < v <= -2 and abs(u - cx) < (v + 10) * 0.6)
                       for cx in (-6, 6))
        return (250, 250, 240, 255) if mark else base
    return draw


def born(x, y):
    # A small green triangle at the top of the cell, pointing down.
    u, v = x + 0.5, y + 0.5
    if 32 < v < 42 and abs(u - 22) < (v - 32) * 0.8:
        return (90, 230, 110, 230)
    return (0, 0, 0, 0)


def arrow(up, look):
    # The level list's scroll arrows; the disabled look is empty, so an idle list shows none.
    colours = {"normal": (200, 210, 230), "active": (255, 240, 160), "pressed": (160, 170, 200)}

    def draw(x, y):
        if look == "disabled":
            return (0, 0, 0, 0)
        u, v = x + 0.5, y + 0.5
        h = v if not up else 20 - v
        if 4 < h < 16 and abs(u - 10) < (h - 4) * 0.7:
            return colours[look] + (230,)
        return (0, 0, 0, 0)
    return draw


def main():
    os.makedirs(os.path.join(menu.OUT, "match3"), exist_ok=True)
    single("stat_banner.png", 320, 72, banner)
    for name, metal in (("gold", GOLD), ("silver", SILVER), ("bronze", BRONZE)):
        single("stat_cup_%s.png" % name, 24, 28, cup(metal))
    single("stat_tile_golden.png", 22, 22, tile(GOLD))
    single("stat_tile_silver.png", 22, 22, tile(SILVER))
    single("editor_panel.png", 44, 540, panel)
    for kind in range(6):
        single("editor_tool%d.png" % kind, 36, 36, tool(kind))
    for kind in range(16, 23):
        single("editor_command%d.png" % kind, 36, 36, command(kind))
    single("editor_born.png", 44, 44, born)
    for up in (True, False):
        for look in ("normal", "active", "pressed", "disabled"):
            single("editor_arrow_%s_%s.png" % ("up" if up else "down", look), 20, 20, arrow(up, look))


if __name__ == "__main__":
    main()
