#!/usr/bin/env python3
"""Draws the pictures of the demo scenery tank (plants, chest, helmet, diver, shell, crab, mill,
caustics, bubbles, arrows, stars, cups, and the equipment with its shop icons) into data/textures/.
Uses the PNG writer and the shape helpers of make-menu-pictures.py."""

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


def box(x, y, w, h, r):
    return menu.rounded_box_distance(x, y, w, h, r) <= 0.0


def compressor(name, w, h, body, trim):
    def pixel(x, y):
        if not box(x, y, w, h, 6):
            return CLEAR
        if menu.rounded_box_distance(x, y, w, h, 6) > -2.0:
            return trim + (255,)
        if disc(w - 16, h / 2, 8, x, y):
            return (240, 240, 230, 255) if not disc(w - 16, h / 2, 6, x, y) or abs(x - (w - 16) + (y - h / 2)) > 1 \
                else (40, 40, 40, 255)
        if 6 <= x < w - 30 and (y // 4) % 2 == 0 and 6 <= y < h - 6:
            return mix(body, (20, 20, 30), 0.5) + (255,)
        return mix(body, (255, 255, 255), 0.15 * y / h) + (255,)
    write_png(name, w, h, pixel)


def thermo_base(name, w):
    def pixel(x, y):
        if w > 22 and disc(34, 70, 12, x, y):
            if not disc(34, 70, 10.5, x, y):
                return (200, 170, 80, 255)
            tick = any(abs(math.atan2(y - 70, x - 34) - a) < 0.06 for a in (math.pi / 2, 3 * math.pi / 4, math.pi))
            return (60, 60, 60, 255) if tick and not disc(34, 70, 7, x, y) else (245, 245, 235, 255)
        if w > 22 and 22 <= x < 24 and 66 <= y <= 74:
            return (200, 170, 80, 255)
        if disc(11, 10, 9, x, y):
            return (220, 40, 30, 255) if disc(11, 10, 7, x, y) else (230, 240, 250, 200)
        if 5 <= x < 17 and 10 <= y < 100:
            edge = x in (5, 6, 15, 16)
            return (230, 240, 250, 210) if edge else (200, 225, 240, 70)
        return CLEAR
    write_png(name, w, 110, pixel)


def thermo_parts():
    write_png("scenery_thermo_red.png", 6, 84, lambda x, y: (220, 40 + y, 30, 255))
    write_png("scenery_thermo_up.png", 22, 14, lambda x, y: (150, 150, 160, 255) if box(x, y, 22, 14, 4) else CLEAR)
    write_png("scenery_thermo_needle.png", 2, 12, lambda x, y: (30, 30, 30, 255))


def filter_body(name, body, trim):
    def pixel(x, y):
        if not box(x, y, 72, 64, 8):
            return CLEAR
        if menu.rounded_box_distance(x, y, 72, 64, 8) > -3.0:
            return trim + (255,)
        if disc(36, 34, 17, x, y):
            return (20, 40, 50, 255)
        if 8 <= x < 64 and y < 10 and x % 6 < 3:
            return mix(body, (0, 0, 0), 0.4) + (255,)
        return mix(body, (255, 255, 255), 0.2 * y / 64) + (255,)
    write_png(name, 72, 64, pixel)


def filter_fan(name, blades, colour):
    def pixel(x, y):
        dx, dy = x + 0.5 - 14, y + 0.5 - 14
        r = math.hypot(dx, dy)
        if r <= 3:
            return (60, 60, 60, 255)
        if r <= 13:
            a = math.atan2(dy, dx) % (2 * math.pi / blades)
            if a < 0.55 + 0.02 * r:
                return colour + (255,)
        return CLEAR
    write_png(name, 28, 28, pixel)


def filter_layer(name, trim):
    def pixel(x, y):
        d = math.hypot(x + 0.5 - 20, y + 0.5 - 20)
        if 17 <= d <= 20:
            return trim + (255,)
        if d < 17 and abs(x - 19.5) < 1:
            return trim + (200,)
        if d < 17:
            return (180, 220, 255, 40)
        return CLEAR
    write_png(name, 40, 40, pixel)


def sunlight():
    def ray(x, y):
        across = 1.0 - abs(x + 0.5 - 12) / 12.0
        along = 1.0 - y / 199.0  # drawn turned over: brightest where the ray starts
        return (255, 250, 210, int(255 * 0.5 * across * across * along ** 0.7))
    write_png("scenery_ray.png", 24, 200, ray)

    def hole(x, y):
        d = ((x + 0.5 - 16) / 16.0) ** 2 + ((y + 0.5 - 8) / 8.0) ** 2
        return (255, 255, 230, int(255 * max(0.0, 1.0 - d) ** 1.5))
    write_png("scenery_hole.png", 32, 16, hole)


def feeder():
    def base(name, w, h, colour):
        def pixel(x, y):
            if not box(x, y, w, h, 5):
                return CLEAR
            if y < 6 and abs(x + 0.5 - w / 2) < 6:
                return (60, 60, 60, 255)
            return mix(colour, (255, 255, 255), 0.25 * y / h) + (255,)
        write_png(name, w, h, pixel)
    base("scenery_feeder.png", 48, 26, (200, 120, 60))
    base("scenery_feeder_up.png", 56, 30, (90, 150, 210))

    def bubble(name, food):
        def pixel(x, y):
            d = math.hypot(x + 0.5 - 15, y + 0.5 - 15)
            if d > 14.5:
                return CLEAR
            if disc(10, 20, 3, x, y):
                return (255, 255, 255, 220)
            if any(disc(cx, cy, 1.6, x, y) for cx, cy in ((12, 9), (18, 12), (15, 6), (20, 8), (9, 13))):
                return food + (255,)
            return (200, 230, 255, int(60 + 140 * (d / 14.5) ** 3))
        write_png(name, 30, 30, pixel)
    bubble("scenery_feeder_bubble.png", (190, 120, 40))
    bubble("scenery_feeder_bubble_up.png", (230, 80, 60))
    write_png("scenery_feeder_timeline.png", 60, 8,
              lambda x, y: mix((60, 200, 80), (200, 240, 120), x / 59.0) + (255,) if box(x, y, 60, 8, 3) else CLEAR)


def icon(name, hot, draw):
    def pixel(x, y):
        if not box(x, y, 36, 36, 7):
            return CLEAR
        inside = draw(x - 4, y - 4)
        if inside is not None:
            return inside
        ring = menu.rounded_box_distance(x, y, 36, 36, 7) > -2.5
        if ring:
            return (255, 220, 90, 255) if hot else (170, 180, 200, 255)
        return (40, 70, 110, 230) if not hot else (60, 100, 150, 240)
    write_png(name + ("_hot" if hot else "") + ".png", 36, 36, pixel)


def icons():
    shapes = {
        "compressor": lambda x, y: (120, 130, 150, 255) if 2 <= x < 26 and 6 <= y < 20 else
        ((240, 240, 230, 255) if disc(20, 13, 4, x, y) else None),
        "thermo": lambda x, y: (220, 40, 30, 255) if disc(14, 5, 4, x, y) or (12 <= x < 16 and y < 24) else None,
        "filter": lambda x, y: (200, 220, 230, 255) if 3 < math.hypot(x - 14, y - 14) < 11 and
        math.atan2(y - 14, x - 14) % (math.pi / 2) < 0.7 else None,
        "sunlight": lambda x, y: (255, 220, 80, 255) if disc(14, 14, 6, x, y) or
        (math.hypot(x - 14, y - 14) < 12 and math.atan2(y - 14, x - 14) % (math.pi / 4) < 0.2) else None,
        "feeder": lambda x, y: (200, 120, 60, 255) if 4 <= x < 24 and 18 <= y < 26 else
        ((200, 230, 255, 255) if disc(14, 9, 7, x, y) else None),
    }
    for piece, draw in shapes.items():
        for hot in (False, True):
            icon("scenery_icon_" + piece, hot, draw)


def equipment():
    compressor("scenery_compressor.png", 64, 40, (110, 125, 150), (70, 80, 95))
    compressor("scenery_compressor_up.png", 64, 30, (150, 130, 90), (200, 170, 80))
    thermo_base("scenery_thermo.png", 22)
    thermo_base("scenery_thermo_up_base.png", 48)
    thermo_parts()
    filter_body("scenery_filter.png", (70, 110, 100), (40, 70, 60))
    filter_body("scenery_filter_up.png", (80, 100, 140), (200, 170, 80))
    filter_fan("scenery_filter_fan.png", 4, (210, 225, 230))
    filter_fan("scenery_filter_fan_up.png", 6, (255, 220, 120))
    filter_layer("scenery_filter_glass.png", (40, 70, 60))
    filter_layer("scenery_filter_glass_up.png", (200, 170, 80))
    sunlight()
    feeder()
    icons()


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
    cup("scenery_cup_silver.png", (200, 205, 215))
    cup("scenery_cup_gold.png", (250, 210, 60))
    cup("scenery_cup_dark.png", (70, 70, 80))
    equipment()


if __name__ == "__main__":
    main()
