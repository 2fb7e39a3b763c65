#!/usr/bin/env python3
"""Draws the pictures of the demo scenery tank (plants, chest, helmet, diver, shell, crab, mill,
caustics, bubbles, arrows, stars, cups) into data/textures/. Uses the PNG writer and the shape
helpers of make-menu-pictures.py."""

import importlib.util
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location("menu_pictures", os.path.join(HERE, "make-menu-pictures.py"))
menu = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(menu)

write_png = menu.write_png
mix = menu.mix

CLEAR = (0, 0, 0, 0)


def disc(cx, cy, r, x, y):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def weed():
    def pixel(x, y):
        centre = 12 + 5 * math.sin(y * 0.05)
        half = 7 * (1.0 - y / 140.0) + 1
        if abs(x - centre) <= half:
            return mix((20, 110, 40), (90, 200, 90), y / 120.0) + (255,)
        return CLEAR
    write_png("scenery_weed.png", 24, 120, pixel)


def leaf():
    def pixel(x, y):
        if ((x - 10) / 9.0) ** 2 + ((y - 30) / 29.0) ** 2 <= 1.0:
            return mix((40, 140, 60), (150, 220, 120), y / 60.0) + (255,)
        return CLEAR
    write_png("scenery_leaf.png", 20, 60, pixel)


def sparkle(name, size, colour):
    def pixel(x, y):
        d = math.hypot(x - size / 2, y - size / 2) / (size / 2)
        a = max(0.0, 1.0 - d) ** 2
        star = max(0.0, 1.0 - abs(x - size / 2) / 2) + max(0.0, 1.0 - abs(y - size / 2) / 2)
        return colour + (int(255 * min(1.0, a + 0.5 * star * (1 - d))),)
    write_png(name, size, size, pixel)


def marker():
    def pixel(x, y):
        if disc(12, 12, 11, x, y) and (abs(x - y) <= 2 or abs(x + y - 24) <= 2 or not disc(12, 12, 9, x, y)):
            return (220, 30, 30, 255)
        return CLEAR
    write_png("scenery_disallowed.png", 24, 24, pixel)


def chest(k, frames):
    lid = k / (frames - 1)

    def pixel(x, y):
        if 4 <= x < 60 and y < 24:
            return ((120, 70, 30, 255) if (x + y) % 12 else (90, 50, 20, 255))
        top = 24 + int(20 * lid)
        if 4 <= x < 60 and 24 <= y < top + 6 and y >= top - int(18 * (1 - lid)):
            return (150, 90, 40, 255)
        if lid > 0.3 and 10 <= x < 54 and 24 <= y < 28:
            return (250, 210, 60, 255)
        return CLEAR
    write_png("scenery_chest%d.png" % k, 64, 48, pixel)


def glint(k):
    def pixel(x, y):
        r = 4 + 4 * k
        d = math.hypot(x - 12, y - 12)
        if d <= r and (abs(x - 12) <= 1 or abs(y - 12) <= 1 or d <= r / 3):
            return (255, 250, 180, 230)
        return CLEAR
    write_png("scenery_glint%d.png" % k, 24, 24, pixel)


def helmet(k):
    def pixel(x, y):
        if disc(24, 24, 22, x, y):
            if disc(24, 26, 10, x, y):
                return (20, 30, 40, 255) if k > 0 else mix((120, 120, 90), (180, 170, 110), k / 2) + (255,)
            return (170, 140, 60, 255)
        return CLEAR
    write_png("scenery_helmet%d.png" % k, 48, 48, pixel)


def eyes(k):
    def pixel(x, y):
        if disc(4, 4, 3.5, x, y):
            return (255, 255, 255, 255) if not disc(4 + (k - 1.5), 4, 1.5, x, y) else (0, 0, 0, 255)
        return CLEAR
    write_png("scenery_eyes%d.png" % k, 8, 8, pixel)


def ring():
    def pixel(x, y):
        return (200, 170, 80, 255) if disc(11, 11, 11, x, y) and not disc(11, 11, 9, x, y) else CLEAR
    write_png("scenery_ring.png", 22, 22, pixel)


def diver(k):
    def pixel(x, y):
        arm = 8 * math.sin(k * math.pi / 2)
        if disc(16, 52, 7, x, y):
            return (180, 160, 80, 255)
        if 10 <= x < 22 and 20 <= y < 46:
            return (60, 60, 90, 255)
        if 10 <= x < 14 and y < 20 or 18 <= x < 22 and y < 20:
            return (50, 50, 70, 255)
        if 22 <= x < 30 and abs(y - 40 - arm * (x - 22) / 8) <= 2:
            return (60, 60, 90, 255)
        return CLEAR
    write_png("scenery_diver%d.png" % k, 32, 60, pixel)


def shell(k):
    opened = k / 2

    def pixel(x, y):
        if ((x - 20) / 19.0) ** 2 + (y / 12.0) ** 2 <= 1.0 and y < 12:
            return (230, 180, 170, 255)
        top = 4 + 14 * opened
        if ((x - 20) / 19.0) ** 2 + ((y - top) / 10.0) ** 2 <= 1.0 and y >= top - 2:
            return (240, 200, 190, 255) if x % 5 else (200, 150, 140, 255)
        if opened > 0 and disc(20, 8, 3, x, y):
            return (250, 250, 255, 255)
        return CLEAR
    write_png("scenery_shell%d.png" % k, 40, 30, pixel)


def rock():
    def pixel(x, y):
        if ((x - 40) / 40.0) ** 2 + (y / 22.0) ** 2 <= 1.0:
            return mix((90, 90, 100), (140, 140, 150), y / 22.0) + (255,)
        return CLEAR
    write_png("scenery_rock.png", 80, 24, pixel)


def crab(k):
    claw = math.sin(k * math.pi / 3) * 6

    def pixel(x, y):
        if ((x - 20) / 14.0) ** 2 + ((y - 8) / 7.0) ** 2 <= 1.0:
            return (210, 70, 40, 255)
        if disc(4, 14 + claw, 4, x, y) or disc(36, 14 + claw, 4, x, y):
            return (230, 90, 50, 255)
        return CLEAR
    write_png("scenery_crab%d.png" % k, 40, 24, pixel)


def mill(k):
    turn = k * math.pi / 8

    def pixel(x, y):
        dx, dy = x - 24, y - 24
        r = math.hypot(dx, dy)
        if r <= 3:
            return (90, 60, 30, 255)
        if r <= 22:
            a = (math.atan2(dy, dx) - turn) % (math.pi / 2)
            if a < 0.3:
                return (160, 110, 60, 255)
        return CLEAR
    write_png("scenery_mill%d.png" % k, 48, 48, pixel)


def caustic(k):
    def pixel(x, y):
        v = math.sin(x * 0.2 + k * 0.8) + math.sin(y * 0.25 - k * 0.6) + math.sin((x + y) * 0.15 + k)
        a = max(0.0, v / 3.0) ** 2
        return (200, 240, 255, int(255 * a))
    write_png("scenery_caustic%d.png" % k, 64, 64, pixel)


def arrow(name, w, h, colour):
    def pixel(x, y):
        # Points to the right.
        if x >= w * 0.55:
            if abs(y - h / 2) <= (w - x) * (h / 2) / (w * 0.45):
                return colour
        elif abs(y - h / 2) <= h * 0.18:
            return colour
        return CLEAR
    write_png(name, w, h, pixel)


def star(name, colour):
    def pixel(x, y):
        dx, dy = x - 10, y - 10
        r = math.hypot(dx, dy)
        a = math.atan2(dy, dx)
        limit = 5 + 4 * math.cos(5 * a)
        return colour + (255,) if r <= limit else CLEAR
    write_png(name, 20, 20, pixel)


def cup(name, colour):
    def pixel(x, y):
        if 12 <= x < 20 and y < 4:
            return colour + (255,)
        if 14 <= x < 18 and y < 12:
            return colour + (255,)
        if 12 <= y < 32 and abs(x - 16) <= 4 + (y - 12) * 0.4:
            return mix(colour, (255, 255, 255), 0.3 * (x % 7 == 0)) + (255,)
        return CLEAR
    write_png(name, 32, 32, pixel)


def main():
    weed()
    leaf()
    sparkle("scenery_flare.png", 24, (255, 255, 200))
    sparkle("scenery_bubble.png", 16, (220, 240, 255))
    marker()
    for k in range(4):
        chest(k, 4)
    for k in range(3):
        glint(k)
        helmet(k)
        shell(k)
    for k in range(4):
        eyes(k)
        diver(k)
        crab(k)
        mill(k)
        caustic(k)
    ring()
    rock()
    arrow("scenery_arrow.png", 40, 24, (255, 200, 40, 255))
    arrow("scenery_direct_arrow.png", 40, 24, (255, 230, 80, 255))
    arrow("scenery_direct_arrow_shadow.png", 40, 24, (0, 0, 0, 110))
    star("scenery_star_on.png", (255, 220, 60))
    star("scenery_star_off.png", (110, 110, 120))
    cup("scenery_cup_bronze.png", (190, 120, 60))
    cup("scenery_cup_gold.png", (250, 210, 60))
    cup("scenery_cup_dark.png", (70, 70, 80))


if __name__ == "__main__":
    main()
