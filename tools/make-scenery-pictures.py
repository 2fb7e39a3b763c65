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


# ---------------------------------------------------------------- decorations
# Drawn with soft edges: a shape is a function (x, y) -> ((r, g, b), coverage 0..1) sampled 3 x 3
# times a pixel, y up.

SAMPLES = 3
NONE = ((0, 0, 0), 0.0)


def soft(d, width=0.6):
    """Coverage of a signed distance (negative inside)."""
    return 1.0 - menu.smooth(-width, width, d)


def put(top, under):
    """top over under, both (colour, coverage)."""
    (tc, ta), (uc, ua) = top, under
    a = ta + ua * (1 - ta)
    if a <= 0:
        return NONE
    return tuple((tc[i] * ta + uc[i] * ua * (1 - ta)) / a for i in range(3)), a


def draw(name, width, height, shape):
    rows = menu.supersample(width, height, shape, SAMPLES)
    write_png(name, width, height, lambda x, y: rows[y][x])


def box_d(x, y, x0, y0, x1, y1, r=0.0):
    """Signed distance to a rounded box."""
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    qx = abs(x - cx) - ((x1 - x0) / 2.0 - r)
    qy = abs(y - cy) - ((y1 - y0) / 2.0 - r)
    return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r


def ellipse_d(x, y, cx, cy, rx, ry):
    return (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * min(rx, ry)


WOOD_DARK, WOOD, WOOD_LIGHT = (85, 48, 22), (140, 85, 40), (185, 125, 65)
BRASS_DARK, BRASS, BRASS_LIGHT = (130, 95, 30), (200, 160, 60), (250, 225, 130)


def planks(x, y, base, horizontal=True):
    """Wood with plank lines and grain."""
    along, across = (x, y) if horizontal else (y, x)
    seam = (across % 8.0) < 0.9
    grain = 0.5 + 0.5 * math.sin(along * 0.35 + 3 * math.sin(across * 0.8))
    c = mix(base, WOOD_LIGHT, 0.18 * grain)
    return mix(c, WOOD_DARK, 0.7) if seam else c


CHEST_FRAMES = 5


def chest(k):
    """The treasure chest, 72 x 64: its lid lifts over the frames and shows the gold inside."""
    lid = k / (CHEST_FRAMES - 1.0)
    gap = 16 * lid

    def shape(x, y):
        c = NONE
        # Inside, between the box and the lifted lid: dark wood and a heap of coins.
        if lid > 0 and 8 < x < 64 and 28 < y < 31 + gap:
            inside = mix((35, 20, 10), (70, 45, 25), (y - 28) / (gap + 3))
            heap = 31 + 6 * math.sqrt(max(0.0, 1 - ((x - 36) / 26.0) ** 2))
            if y < heap:
                coin = 0.5 + 0.5 * math.sin(x * 1.3 + 2 * math.sin(y * 1.7)) * math.sin(y * 2.3)
                inside = mix(BRASS, BRASS_LIGHT, coin)
            c = put((inside, 1.0), c)
        # The box: planks, a dark rim and two brass bands, the lock in front.
        d = box_d(x, y, 6, 2, 66, 30, 3)
        if d < 1:
            body = planks(x, y, WOOD)
            body = mix(body, WOOD_DARK, 0.35 * (1 - y / 30.0))
            if abs(x - 18) < 3 or abs(x - 54) < 3:
                body = mix(BRASS_DARK, BRASS, 0.5 + 0.4 * math.sin(y * 0.4))
            if box_d(x, y, 31, 14, 41, 26, 2) < 0:
                body = mix(BRASS, BRASS_LIGHT, 0.3) if box_d(x, y, 34, 16, 38, 22) > 0 else (40, 30, 20)
            c = put((mix(body, (40, 25, 10), 0.6 if d > -1.5 else 0.0), soft(d)), c)
        # The lid above the gap: its front face shrinks as it turns back, and past halfway its
        # inside shows, darker.
        bottom = 29 + gap
        face = 18 * (1 - 0.75 * lid)
        u = (x - 36) / 30.0
        arch = 5 * (1 - lid) * math.sqrt(max(0.0, 1 - u * u))
        dl = max(y - (bottom + face + arch), box_d(x, y, 6, bottom, 66, bottom + face + 7, 3))
        if dl < 1:
            base = mix(WOOD_DARK, WOOD, 0.45) if lid > 0.5 else WOOD
            lidc = planks(x, (y - bottom) * 2, base)
            if abs(x - 18) < 3 or abs(x - 54) < 3:
                lidc = mix(BRASS_DARK, BRASS, 0.6)
            c = put((mix(lidc, (40, 25, 10), 0.6 if dl > -1.5 else 0.0), soft(dl)), c)
        return c
    draw("scenery_chest%d.png" % k, 72, 64, shape)


def glint(k):
    def shape(x, y):
        r = 5 + 4 * k
        dx, dy = x - 12, y - 12
        d = math.hypot(dx, dy)
        ray = max(0.0, 1 - abs(dx) / 1.3) * max(0.0, 1 - abs(dy) / r) + max(0.0, 1 - abs(dy) / 1.3) * max(0.0, 1 - abs(dx) / r)
        core = max(0.0, 1 - d / (r * 0.45))
        return (255, 248, 190), min(1.0, ray + core)
    draw("scenery_glint%d.png" % k, 24, 24, shape)


HELMET_FRAMES = 4


def helmet(k):
    """The diving helmet, 56 x 60, lying on the sand: brass with a round window whose glass swings
    open over the frames (frame 0 closed, the last open and dark)."""
    opened = k / (HELMET_FRAMES - 1.0)

    def shape(x, y):
        c = NONE
        # Collar.
        d = box_d(x, y, 6, 0, 50, 12, 5)
        if d < 1:
            c = put((mix(BRASS_DARK, BRASS, 0.4 + 0.3 * math.sin(x * 0.5)), soft(d)), c)
        # Dome.
        d = ellipse_d(x, y, 28, 32, 24, 26)
        if d < 1 and y > 6:
            light = max(0.0, 1 - math.hypot(x - 20, y - 44) / 30.0)
            dome = mix(BRASS_DARK, BRASS, 0.5 + 0.5 * light)
            dome = mix(dome, BRASS_LIGHT, light ** 3)
            if any(math.hypot(x - bx, y - by) < 1.6 for bx, by in ((10, 22), (46, 22), (12, 44), (44, 44), (28, 56))):
                dome = BRASS_DARK
            c = put((dome, soft(d)), c)
        # The window: a dark hole, the brass ring, and the glass that swings aside.
        dw = math.hypot(x - 28, y - 30)
        if dw < 10.5:
            inside = mix((15, 20, 25), (40, 50, 55), max(0.0, (y - 22) / 16.0))
            c = put((inside, soft(dw - 10.5)), c)
        if 9 < dw < 13:
            c = put((mix(BRASS, BRASS_LIGHT, 0.5 + 0.5 * math.sin(math.atan2(y - 30, x - 28))), soft(abs(dw - 11) - 2)), c)
        if opened < 1:
            gx = 28 - 22 * opened
            dg = ellipse_d(x, y, gx, 30, 10 * (1 - 0.7 * opened) + 0.5, 10)
            if dg < 1:
                glass = mix((80, 130, 120), (170, 220, 210), max(0.0, 1 - math.hypot(x - gx + 3, y - 34) / 9.0))
                c = put((glass, 0.85 * soft(dg)), c)
        return c
    draw("scenery_helmet%d.png" % k, 56, 60, shape)


def eyes(k):
    """One eye, 10 x 10, its pupil looking from left to right over the frames."""
    def shape(x, y):
        d = math.hypot(x - 5, y - 5) - 4.2
        if d > 1:
            return NONE
        pupil = math.hypot(x - (3.4 + 1.1 * k), y - 4.6) - 1.7
        colour = (15, 15, 20) if pupil < 0 else (245, 245, 235)
        return colour, soft(d)
    draw("scenery_eyes%d.png" % k, 10, 10, shape)


def ring():
    """The window's ring, drawn over the eyes while they come and go: 26 x 26."""
    def shape(x, y):
        d = math.hypot(x - 13, y - 13)
        if abs(d - 11) < 2.5:
            return mix(BRASS, BRASS_LIGHT, 0.5 + 0.5 * math.sin(math.atan2(y - 13, x - 13) + 1)), soft(abs(d - 11) - 1.8)
        return NONE
    draw("scenery_ring.png", 26, 26, shape)


DIVER_FRAMES = 6


def limb(x, y, x0, y0, x1, y1, r):
    """Signed distance from (x, y) to a rounded segment of radius r from (x0, y0) to (x1, y1)."""
    px, py = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((x - x0) * px + (y - y0) * py) / (px * px + py * py)))
    return math.hypot(x - x0 - t * px, y - y0 - t * py) - r


def diver(k):
    """The diver, 44 x 76, standing and waving one arm over the frames."""
    wave = math.sin(2 * math.pi * k / DIVER_FRAMES)
    suit, suit_dark = (70, 90, 120), (40, 55, 80)

    def shape(x, y):
        c = NONE
        # Boots, legs, body.
        for bx in (15, 27):
            d = box_d(x, y, bx - 5, 0, bx + 5, 6, 2)
            if d < 1:
                c = put(((50, 45, 40), soft(d)), c)
            d = limb(x, y, bx, 5, bx + (bx - 21) * 0.1, 24, 4.5)
            if d < 1:
                c = put((mix(suit_dark, suit, 0.5), soft(d)), c)
        d = box_d(x, y, 10, 22, 32, 50, 6)
        if d < 1:
            body = mix(suit_dark, suit, 0.4 + 0.6 * (x - 10) / 22.0)
            if abs(y - 36) < 1.2:
                body = suit_dark
            c = put((body, soft(d)), c)
        # Arms: the left hangs, the right waves.
        d = limb(x, y, 12, 46, 6, 28, 3.6)
        if d < 1:
            c = put((suit_dark, soft(d)), c)
        hx, hy = 40, 48 + 10 * wave
        d = limb(x, y, 30, 46, hx, hy, 3.6)
        if d < 1:
            c = put((suit, soft(d)), c)
        d = math.hypot(x - hx, y - hy) - 3.2
        if d < 1:
            c = put(((210, 170, 140), soft(d)), c)
        # The brass helmet with its window.
        d = math.hypot(x - 21, y - 60) - 12
        if d < 1:
            light = max(0.0, 1 - math.hypot(x - 16, y - 66) / 18.0)
            c = put((mix(BRASS_DARK, BRASS_LIGHT, light), soft(d)), c)
        d = math.hypot(x - 23, y - 59) - 5.5
        if d < 1:
            c = put((mix((20, 30, 40), (90, 130, 140), max(0.0, (y - 55) / 10.0)), soft(d)), c)
        return c
    draw("scenery_diver%d.png" % k, 44, 76, shape)


SHELL_FRAMES = 4


def shell(k):
    """The cockle shell, 48 x 36: its upper half lifts over the frames and shows a pearl."""
    opened = k / (SHELL_FRAMES - 1.0)

    def half_shell(x, y, cy, up):
        """A ribbed half: distance and colour."""
        dx, dy = x - 24, (y - cy) * (1 if up else -1)
        if dy < -1:
            return 9.0, None
        d = ellipse_d(x, cy + abs(dy), 24, cy, 21, 13)
        angle = math.atan2(max(dy, 0.0), dx)
        rib = 0.5 + 0.5 * math.cos(angle * 14)
        colour = mix((215, 150, 140), (250, 215, 205), rib)
        colour = mix(colour, (180, 110, 105), 0.3 * max(0.0, 1 - dy / 6.0))
        return d, colour

    def shape(x, y):
        c = NONE
        d, colour = half_shell(x, y, 10, False)
        if d < 1 and colour:
            c = put((colour, soft(d)), c)
        if opened > 0:
            d = math.hypot(x - 24, y - 12) - 4.5
            if d < 1:
                shine = max(0.0, 1 - math.hypot(x - 22.5, y - 13.5) / 4.0)
                c = put((mix((225, 225, 235), (255, 255, 255), shine), soft(d)), c)
        lift = 12 * opened
        d, colour = half_shell(x, y, 10 + lift, True)
        if d < 1 and colour:
            c = put((colour, soft(d)), c)
        return c
    draw("scenery_shell%d.png" % k, 48, 36, shape)


def rock():
    """A grey rock, 80 x 28, lit from the upper left."""
    def shape(x, y):
        d = ellipse_d(x, y, 40, 2, 39, 25)
        if d > 1 or y < 0:
            return NONE
        bump = 0.5 + 0.25 * math.sin(x * 0.3) * math.sin(y * 0.4)
        light = max(0.0, 1 - math.hypot(x - 28, y - 24) / 40.0)
        colour = mix((75, 75, 85), (165, 165, 170), 0.6 * light + 0.4 * bump)
        return colour, soft(d)
    draw("scenery_rock.png", 80, 28, shape)


CRAB_FRAMES = 6


def crab(k):
    """The crab, 48 x 30: it lifts and snaps its claws over the frames."""
    lift = math.sin(math.pi * k / (CRAB_FRAMES - 1.0))
    red, red_dark = (225, 80, 45), (160, 45, 25)

    def shape(x, y):
        c = NONE
        for side in (-1, 1):
            for leg in range(3):
                x0 = 24 + side * (6 + 3 * leg)
                d = limb(x, y, x0, 6, x0 + side * (6 + 2 * leg), 0.5, 1.3)
                if d < 1:
                    c = put((red_dark, soft(d)), c)
            # The arm up to the claw.
            cx, cy = 24 + side * 19, 10 + 8 * lift
            d = limb(x, y, 24 + side * 9, 8, cx, cy, 2.0)
            if d < 1:
                c = put((red_dark, soft(d)), c)
            d = ellipse_d(x, y, cx, cy + 3, 4.5, 5)
            gap = abs(x - cx) < 1.0 and y > cy + 3 - 2 * lift
            if d < 1 and not gap:
                c = put((mix(red, (245, 130, 90), 0.4), soft(d)), c)
        d = ellipse_d(x, y, 24, 8, 13, 7.5)
        if d < 1:
            light = max(0.0, 1 - math.hypot(x - 20, y - 13) / 14.0)
            c = put((mix(red_dark, red, 0.4 + 0.6 * light), soft(d)), c)
        for side in (-1, 1):
            ex = 24 + side * 4
            d = limb(x, y, ex, 13, ex, 17, 0.8)
            if d < 1:
                c = put((red_dark, soft(d)), c)
            d = math.hypot(x - ex, y - 18) - 1.8
            if d < 1:
                c = put(((15, 15, 15), soft(d)), c)
        return c
    draw("scenery_crab%d.png" % k, 48, 30, shape)


MILL_FRAMES = 6
MILL_PADDLES = 8


def mill(k):
    """The mill wheel, 60 x 60: eight paddles on a rim; the frames turn it by one paddle's step,
    so that the loop is seamless."""
    turn = (2 * math.pi / MILL_PADDLES) * k / MILL_FRAMES

    def shape(x, y):
        dx, dy = x - 30, y - 30
        r = math.hypot(dx, dy)
        a = math.atan2(dy, dx) - turn
        c = NONE
        step = 2 * math.pi / MILL_PADDLES
        off = (a + step / 2) % step - step / 2
        # Paddles: boards along the radius from the rim outwards.
        across = abs(math.sin(off)) * r
        if 17 < r < 29.5 and across < 3.2:
            c = put((planks(r, across * 3, WOOD, True), soft(max(across - 2.6, r - 29))), c)
        # Rim and spokes.
        if abs(r - 17) < 2.6:
            c = put((mix(WOOD_DARK, WOOD, 0.5 + 0.3 * math.sin(a * 5)), soft(abs(r - 17) - 2)), c)
        if r < 16 and across < 1.6:
            c = put((mix(WOOD_DARK, WOOD, 0.6), soft(across - 1.2)), c)
        if r < 5:
            c = put((mix((60, 60, 65), (140, 140, 150), max(0.0, 1 - math.hypot(dx + 1.5, dy - 1.5) / 5)), soft(r - 4.5)), c)
        return c
    draw("scenery_mill%d.png" % k, 60, 60, shape)


def caustic(k):
    """The light pattern, 64 x 64 and seamless across both edges: bright lines where waves meet.
    The frames step the waves on, so that one fades into the next."""
    tau = 2 * math.pi / 64

    def pixel(x, y):
        phase = k * math.pi / 2
        v = (math.sin(tau * (x + 2 * y) + phase) + math.sin(tau * (3 * x - y) - phase * 0.5)
             + math.sin(tau * (2 * x - 3 * y) + phase * 1.5) + math.sin(tau * (x + y) * 2 - phase))
        line = max(0.0, 1 - abs(v) / 0.9)
        return (210, 240, 255, int(255 * line ** 2 * 0.9))
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
    for k in range(CHEST_FRAMES):
        chest(k)
    for k in range(3):
        glint(k)
    for k in range(HELMET_FRAMES):
        helmet(k)
    for k in range(SHELL_FRAMES):
        shell(k)
    for k in range(DIVER_FRAMES):
        diver(k)
    for k in range(CRAB_FRAMES):
        crab(k)
    for k in range(MILL_FRAMES):
        mill(k)
    for k in range(4):
        eyes(k)
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
