#!/usr/bin/env python3
"""Draws the shop icons of the game's aquarium screens (the weed and the fan plant on a round
glass tile) into data/textures/. Uses the PNG writer and the shape helpers of
make-menu-pictures.py."""

import importlib.util
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location("menu_pictures", os.path.join(HERE, "make-menu-pictures.py"))
menu = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(menu)

write_png = menu.write_png
mix = menu.mix
smooth = menu.smooth
rounded_box_distance = menu.rounded_box_distance

# The pictures are drawn on a 72 grid and written at 56 x 56, the size of a shelf place.
SIZE = 72
OUT = 56
GREEN_DARK = (30, 110, 50)
GREEN_LIGHT = (120, 210, 110)


def tile(x, y):
    """The glass tile behind every icon: colour and coverage."""
    d = rounded_box_distance(x, y, SIZE, SIZE, 14)
    alpha = 1.0 - smooth(-1.5, 0.5, d)
    t = y / (SIZE - 1.0)
    colour = mix((40, 90, 140), (110, 170, 215), t)
    colour = mix(colour, (220, 240, 255), smooth(-3.0, -0.5, d) * 0.7)
    return colour, 0.75 * alpha


def over(base, base_alpha, colour, alpha):
    """colour with its alpha over the base."""
    out_alpha = alpha + base_alpha * (1.0 - alpha)
    if out_alpha <= 0.0:
        return (0, 0, 0), 0.0
    c = tuple((colour[i] * alpha + base[i] * base_alpha * (1.0 - alpha)) / out_alpha for i in range(3))
    return c, out_alpha


def blade(x, y, root_x, lean, height, width):
    """Coverage and shade of one swaying blade growing from (root_x, 8)."""
    if y < 8 or y > 8 + height:
        return 0.0, 0.0
    t = (y - 8) / height
    centre = root_x + lean * t * t
    half = width * (1.0 - t) + 0.6
    d = abs(x + 0.5 - centre) - half
    return 1.0 - smooth(-0.8, 0.8, d), t


def weed(x, y):
    colour, alpha = tile(x, y)
    for root, lean, height, width in ((30, -8, 52, 3.5), (38, 10, 58, 4.0), (44, 4, 40, 3.0)):
        cover, t = blade(x, y, root, lean, height, width)
        if cover > 0.0:
            colour, alpha = over(colour, alpha, mix(GREEN_DARK, GREEN_LIGHT, t), cover)
    return colour + (alpha * 255,)


def fan(x, y):
    colour, alpha = tile(x, y)
    # Three leaves fanning out from the top of a rock.
    for angle in (-0.6, 0.0, 0.6):
        dx = x + 0.5 - 36
        dy = y + 0.5 - 22
        u = dx * math.cos(angle) - dy * math.sin(angle)
        v = dx * math.sin(angle) + dy * math.cos(angle)
        if v < 0:
            continue
        d = math.hypot(u / 7.0, (v - 18.0) / 18.0) - 1.0
        cover = 1.0 - smooth(-0.08, 0.05, d)
        if cover > 0.0:
            colour, alpha = over(colour, alpha, mix((40, 140, 90), (150, 230, 160), v / 36.0), cover)
    rock = math.hypot((x + 0.5 - 36) / 22.0, (y + 0.5 - 12) / 9.0) - 1.0
    cover = 1.0 - smooth(-0.05, 0.05, rock)
    if cover > 0.0:
        shade = 0.5 + 0.5 * (y - 3) / 18.0
        colour, alpha = over(colour, alpha, mix((70, 65, 60), (160, 150, 135), shade), cover)
    return colour + (alpha * 255,)


def scaled(draw):
    return lambda x, y: draw(x * SIZE / OUT, y * SIZE / OUT)


def main():
    write_png("home_icon_weed.png", OUT, OUT, scaled(weed))
    write_png("home_icon_fan.png", OUT, OUT, scaled(fan))


if __name__ == "__main__":
    main()
