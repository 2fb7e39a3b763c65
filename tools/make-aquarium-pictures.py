#!/usr/bin/env python3
"""Draws the pictures of the demo aquarium screen (water and sand, the two panels, the sell basket
with its lid frames, the basket's help arrow) into data/textures/. Uses the PNG writer and the
shape helpers of make-menu-pictures.py."""

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

WICKER_DARK = (110, 70, 30)
WICKER_LIGHT = (200, 150, 80)


def grain(x, y):
    """A repeatable speck pattern in 0..1."""
    v = math.sin(x * 12.9898 + y * 78.233) * 43758.5453
    return v - math.floor(v)


def background():
    """Water above, sand on the lowest third; stretched over the whole screen."""
    size = 256
    sand_top = size * 0.42

    def pixel(x, y):
        if y < sand_top:
            t = y / sand_top
            colour = mix((170, 140, 90), (215, 190, 140), t)
            if grain(x, y) > 0.93:
                colour = mix(colour, (120, 100, 70), 0.6)
            ripple = 0.5 + 0.5 * math.sin(x * 0.21 + math.sin(y * 0.3) * 2.0)
            colour = mix(colour, (235, 215, 170), 0.15 * ripple)
            return colour + (255,)
        t = (y - sand_top) / (size - sand_top)
        colour = mix((10, 60, 110), (60, 170, 210), t)
        ray = 0.5 + 0.5 * math.sin(x * 0.07 + y * 0.02) * math.sin(x * 0.017 - y * 0.04)
        colour = mix(colour, (255, 255, 255), 0.12 * ray * t)
        # The far floor line fades into the water.
        colour = mix(colour, (150, 150, 120), 0.35 * (1.0 - smooth(0.0, 0.12, t)))
        return colour + (255,)

    write_png("aquarium_background.png", size, size, pixel)


def panel(name, height, round_bottom):
    width = 800

    def pixel(x, y):
        # Rounded on the side that faces the tank.
        ry = y if round_bottom else height - 1 - y
        d = rounded_box_distance(x, ry, width, height * 2, 18)
        alpha = 1.0 - smooth(-1.5, 0.5, d)
        t = y / (height - 1.0)
        colour = mix((20, 70, 130), (60, 130, 190), t)
        colour = mix(colour, (200, 235, 255), smooth(-4.0, -1.0, d) * 0.8)
        return colour + (235 * alpha,)

    write_png(name, width, height, pixel)


def wicker(x, y):
    """Woven strands: light bands across, darker posts along."""
    band = 0.5 + 0.5 * math.sin(y * 0.9 + (math.floor(x / 8) % 2) * math.pi)
    post = 1.0 - smooth(0.0, 1.5, abs((x % 8) - 4.0) - 2.0)
    colour = mix(WICKER_DARK, WICKER_LIGHT, band * 0.8)
    return mix(colour, WICKER_DARK, 0.5 * post)


def basket_back():
    """The whole basket from behind: the body and the dark opening at its top."""
    width, height = 96, 80

    def pixel(x, y):
        half = 40 + 8 * (y / 64.0)
        inside_body = y < 64 and abs(x + 0.5 - 48) < half
        ex, ey = (x + 0.5 - 48) / 48.0, (y - 66) / 13.0
        in_opening = ex * ex + ey * ey < 1.0
        if in_opening:
            inner = ex * ex + (ey * 1.25) ** 2 < 0.8
            colour = (50, 30, 15) if inner else mix(WICKER_DARK, WICKER_LIGHT, 0.6)
            return colour + (255,)
        if inside_body:
            return mix(wicker(x, y), (0, 0, 0), 0.25) + (255,)
        return (0, 0, 0, 0)

    write_png("aquarium_basket_back.png", width, height, pixel)


def basket_front():
    """The front face and the near rim, which hide what sinks into the basket."""
    width, height = 96, 66

    def pixel(x, y):
        half = 40 + 8 * (y / 64.0)
        if abs(x + 0.5 - 48) >= half:
            return (0, 0, 0, 0)
        ex, ey = (x + 0.5 - 48) / 48.0, (y - 66) / 13.0
        if y > 53 and ex * ex + ey * ey < 1.0 and y > 66 - 13 * math.sqrt(max(0.0, 1.0 - ex * ex)) + 3:
            return (0, 0, 0, 0)  # the opening shows the back
        colour = wicker(x, y)
        if y > 56:
            colour = mix(colour, (235, 200, 140), 0.5)  # the rim
        return colour + (255,)

    write_png("aquarium_basket_front.png", width, height, pixel)


def basket_lid(frame, frames):
    """The lid: flat on the opening when closed, standing up behind it when open."""
    width, height = 96, 112
    s = frame / (frames - 1.0)
    cy = 70 + 28 * s
    rx = 48 - 4 * s
    ry = 10 + 12 * s

    def pixel(x, y):
        ex, ey = (x + 0.5 - 48) / rx, (y - cy) / ry
        r = ex * ex + ey * ey
        if r >= 1.0:
            return (0, 0, 0, 0)
        colour = mix(wicker(x, y * (1.0 + s)), (0, 0, 0), 0.2 * s)
        colour = mix(colour, (240, 205, 150), smooth(0.75, 0.95, r) * 0.7)
        return colour + (255,)

    write_png("aquarium_basket_lid%d.png" % frame, width, height, pixel)


def help_arrow():
    width, height = 48, 64

    def pixel(x, y):
        cx = x + 0.5 - 24
        shaft = abs(cx) < 7 and y > 26
        head = y <= 30 and abs(cx) < y * 0.8
        outline = abs(cx) < 10 and y > 24 or (y <= 33 and abs(cx) < y * 0.8 + 3)
        if shaft or head:
            return (70, 200, 90, 255)
        if outline:
            return (255, 255, 255, 230)
        return (0, 0, 0, 0)

    write_png("aquarium_basket_help.png", width, height, pixel)


def main():
    background()
    panel("aquarium_panel_top.png", 48, True)
    panel("aquarium_panel_bottom.png", 56, False)
    basket_back()
    basket_front()
    for frame in range(4):
        basket_lid(frame, 4)
    help_arrow()


if __name__ == "__main__":
    main()
