#!/usr/bin/env python3
"""Draws the goods of the game's shop into data/textures/: the pictures of the plants and
decorations that stand in the tank (home_plant_*, home_deco_*; one picture a layer) and their shop
icons on a round glass tile (home_icon_*). Uses the PNG writer and the shape helpers of
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


# ---------------------------------------------------------------- tank goods
# A picture is a function (x, y) -> (colour, coverage 0..1) over its own width and height, y up;
# drawn with 3 x 3 samples a pixel for soft edges.

SAMPLES = 3
CLEAR = ((0, 0, 0), 0.0)


def render(width, height, draw):
    return menu.supersample(width, height, draw, SAMPLES)


def write_rows(name, rows):
    write_png(name, len(rows[0]), len(rows), lambda x, y: rows[y][x])


def layer(colour_alpha, under):
    """colour_alpha over under, both (colour, coverage)."""
    return over(under[0], under[1], colour_alpha[0], colour_alpha[1])


def edge(d, soft=0.6):
    """Coverage of a signed distance (negative inside)."""
    return 1.0 - smooth(-soft, soft, d)


def leaf_distance(u, v, x0, y0, angle, length, width):
    """Distance-like value to a pointed leaf from (x0, y0) along angle (radians from upright)."""
    dx, dy = u - x0, v - y0
    along = dx * math.sin(angle) + dy * math.cos(angle)
    across = dx * math.cos(angle) - dy * math.sin(angle)
    if along < 0 or along > length:
        return 9.0
    t = along / length
    half = width * math.sin(math.pi * min(1.0, t * 1.1)) + 0.3
    return abs(across) - half


def grass(u, v):
    """A tuft of thin blades, 56 x 64."""
    c = CLEAR
    for k in range(11):
        root = 14 + 28 * k / 10.0
        lean = (k - 5) * 2.2 + 3 * math.sin(k * 2.3)
        height = 40 + 20 * (0.5 + 0.5 * math.sin(k * 1.7))
        if v > height:
            continue
        t = v / height
        centre = root + lean * t * t
        half = 1.6 * (1 - t) + 0.35
        cover = edge(abs(u - centre) - half, 0.5)
        if cover > 0:
            shade = mix((30, 100, 40), (140, 220, 100), t)
            shade = mix(shade, (20, 70, 30), 0.25 * (k % 3 == 1))
            c = layer((shade, cover), c)
    return c


def stem_plant(u, v, width, height, leaf_colour, tip_colour, leaf_at):
    """A stem up the middle with leaves in pairs; leaf_at(k, side, t) -> (angle, length, width)."""
    c = CLEAR
    cx = width / 2 + 2.0 * math.sin(v * 0.04)
    if v < height - 4:
        cover = edge(abs(u - cx) - 1.1, 0.5)
        if cover > 0:
            c = layer(((70, 110, 50), cover), c)
    pairs = 9
    for k in range(pairs):
        y0 = 8 + (height - 16) * k / (pairs - 1.0)
        t = k / (pairs - 1.0)
        for side in (-1, 1):
            angle, length, w = leaf_at(k, side, t)
            d = leaf_distance(u, v, width / 2 + 2.0 * math.sin(y0 * 0.04), y0, angle, length, w)
            cover = edge(d, 0.5)
            if cover > 0:
                shade = mix(leaf_colour, tip_colour, t)
                vein = d < -w * 0.6
                c = layer((mix(shade, (255, 255, 255), 0.15 if vein else 0.0), cover), c)
    return c


def red_weed(u, v):
    """Ludwigia: paired oval leaves, green at the bottom and red towards the top; 32 x 120."""
    return stem_plant(u, v, 32, 120, (70, 140, 60), (220, 60, 50),
                      lambda k, side, t: (side * (1.1 - 0.3 * t), 12 - 3 * t, 3.2))


def cabomba(u, v):
    """Cabomba: whorls of fine fans up a stem; 48 x 110."""
    c = CLEAR
    cx = 24 + 2.0 * math.sin(v * 0.05)
    if v < 104:
        cover = edge(abs(u - cx) - 1.0, 0.5)
        if cover > 0:
            c = layer(((80, 130, 60), cover), c)
    for k in range(8):
        y0 = 10 + 13 * k
        t = k / 7.0
        radius = 21 - 7 * t
        dx, dy = u - (24 + 2.0 * math.sin(y0 * 0.05)), v - y0
        r = math.hypot(dx, dy * 1.5)
        if r < radius and dy > -4:
            spoke = abs(math.sin(math.atan2(dy, dx) * 8))
            cover = edge(spoke - 0.5, 0.15) * edge(r - radius, 0.8)
            if cover > 0:
                c = layer((mix((50, 170, 60), (170, 240, 120), t), cover), c)
    return c


def sword_leaf(lean):
    """One broad leaf of a sword plant growing from (32, 0), leaning by lean radians; 64 x 84."""
    def draw(u, v):
        d = leaf_distance(u, v, 32, 0, lean, 80, 7.5)
        cover = edge(d, 0.6)
        if cover <= 0:
            return CLEAR
        along = (u - 32) * math.sin(lean) + v * math.cos(lean)
        t = max(0.0, min(1.0, along / 80))
        shade = mix((30, 100, 45), (110, 200, 90), t)
        if d < -5.5 and abs((u - 32) * math.cos(lean) - v * math.sin(lean)) < 0.8:
            shade = mix(shade, (200, 240, 170), 0.6)
        return shade, cover
    return draw


def sword_base(u, v):
    """The sword plant's clump of short leaves over its roots; 64 x 24."""
    c = CLEAR
    for angle, length in ((-0.9, 18), (-0.4, 22), (0.3, 21), (0.8, 17)):
        cover = edge(leaf_distance(u, v, 32, 0, angle, length, 4.0), 0.5)
        if cover > 0:
            c = layer(((40, 110, 50), cover), c)
    return c


def amphora(u, v):
    """A clay amphora, 50 x 70: body, neck, lip and two handles, shaded from the left."""
    c = CLEAR
    cx = 25
    # The body's outline: its half width along the height.
    if v < 56:
        t = v / 56.0
        half = 4 + 17 * math.sin(math.pi * min(1.0, 0.15 + t * 0.95)) ** 0.8
        if v > 44:
            half = 6.5
    elif v < 62:
        half = 9
    else:
        half = 0
    d = abs(u - cx) - half
    cover = edge(d, 0.6) if v < 62 else 0.0
    for side in (-1, 1):
        hx, hy = cx + side * 12, 46
        ring = abs(math.hypot((u - hx) / 6.0, (v - hy) / 9.0) - 1.0) * 6.0 - 1.2
        if ring < 0.6 and side * (u - cx) > 8:
            c = layer(((150, 70, 35), edge(ring, 0.6)), c)
    if cover > 0:
        light = 0.5 + 0.5 * math.cos((u - cx + 6) / (half + 1e-3) * 1.4) if half > 0 else 0.5
        colour = mix((120, 55, 25), (215, 120, 65), light)
        if 20 < v < 26:
            colour = mix(colour, (90, 40, 20), 0.6)
        crack = abs(u - (cx + 6 + 3 * math.sin(v * 0.5))) < 0.7 and 8 < v < 30
        if crack:
            colour = (70, 35, 20)
        c = layer((colour, cover), c)
    return c


def castle(u, v):
    """A little stone castle, 84 x 100: a keep between two towers, a gate and windows."""
    c = CLEAR

    def stones(colour, x, y):
        row = int(y // 7)
        brick = (x + 5 * (row % 2)) % 11 < 0.8 or y % 7 < 0.8
        return mix(colour, (60, 60, 70), 0.45) if brick else colour

    parts = [(4, 26, 0, 80), (58, 80, 0, 80), (20, 64, 0, 62)]  # x0, x1, y0, y1
    for x0, x1, y0, y1 in parts:
        if x0 <= u < x1 and y0 <= v < y1:
            shade = mix((110, 115, 125), (185, 185, 190), (u - x0) / (x1 - x0))
            c = ((stones(shade, u, v)), 1.0)
        # Battlements.
        if x0 <= u < x1 and y1 <= v < y1 + 7 and int((u - x0) // 5) % 2 == 0:
            c = (mix((120, 125, 135), (180, 180, 185), (u - x0) / (x1 - x0)), 1.0)
    # The towers' pointed roofs.
    for x0, x1 in ((4, 26), (58, 80)):
        mid = (x0 + x1) / 2.0
        if 80 <= v < 100 and abs(u - mid) < (x1 - x0) / 2.0 * (100 - v) / 20.0 and v >= 87:
            c = (mix((140, 40, 40), (200, 70, 60), (u - x0) / (x1 - x0)), 1.0)
    # Gate and windows.
    gate = math.hypot((u - 42) / 9.0, max(0.0, v - 18) / 9.0) < 1.0 and v < 27
    if gate:
        c = ((25, 20, 25), 1.0)
    for wx, wy in ((15, 58), (69, 58), (34, 44), (50, 44)):
        if abs(u - wx) < 2.5 and wy <= v < wy + 8:
            c = ((30, 30, 40), 1.0)
    return c


def castle_flag(u, v):
    """The flag on the castle's left tower, 22 x 16: a pole and a pennant."""
    if u < 1.5:
        return ((90, 80, 70), 1.0)
    if 6 <= v <= 15 and (u - 1.5) < 20 * (1 - abs(v - 10.5) / 5.5) + 2:
        return (mix((240, 200, 40), (250, 240, 120), v / 16.0), 1.0)
    return CLEAR


def window_glow(u, v):
    d = math.hypot(u - 8, v - 8) / 8.0
    return (255, 220, 120), max(0.0, 1.0 - d) ** 1.5


def wheel_post(u, v):
    """The post that holds the ship's wheel, 20 x 56, with a brass cap."""
    if 6 <= u < 14 and v < 52:
        shade = mix((90, 55, 30), (160, 110, 60), (u - 6) / 8.0)
        if int(v) % 9 == 0:
            shade = mix(shade, (60, 35, 20), 0.5)
        return shade, 1.0
    if math.hypot(u - 10, v - 50) < 5:
        return (210, 170, 70), 1.0
    return CLEAR


def ship_wheel(u, v):
    """A ship's wheel, 64 x 64: rim, hub and eight handles."""
    dx, dy = u - 32, v - 32
    r = math.hypot(dx, dy)
    a = math.atan2(dy, dx)
    wood_dark, wood = (100, 60, 30), (170, 115, 60)
    if r < 5:
        return (210, 170, 70), 1.0
    spoke = abs(math.sin(a * 4)) * r
    if r < 31 and spoke < 2.2:
        if r > 22:
            return mix(wood_dark, wood, 0.5), edge(spoke - 1.5, 0.6) if r < 27 else edge(spoke - 2.2, 0.6)
        return mix(wood_dark, wood, 0.5 + 0.5 * math.cos(a)), edge(spoke - 1.4, 0.6)
    if 17 <= r < 23:
        return mix(wood_dark, wood, 0.5 + 0.5 * math.sin(a + 0.8)), edge(abs(r - 20) - 3, 0.6)
    return CLEAR


TANK_PICTURES = {
    "home_plant_grass": (56, 64, grass),
    "home_plant_redweed": (32, 120, red_weed),
    "home_plant_cabomba": (48, 110, cabomba),
    "home_plant_sword_left": (64, 84, sword_leaf(-0.4)),
    "home_plant_sword": (64, 84, sword_leaf(0.05)),
    "home_plant_sword_right": (64, 84, sword_leaf(0.4)),
    "home_plant_sword_base": (64, 24, sword_base),
    "home_deco_amphora": (50, 70, amphora),
    "home_deco_castle": (84, 100, castle),
    "home_deco_flag": (22, 16, castle_flag),
    "home_deco_glow": (16, 16, window_glow),
    "home_deco_wheel_post": (20, 56, wheel_post),
    "home_deco_wheel": (64, 64, ship_wheel),
}


def icon_of(layers, box_w, box_h):
    """An icon: the pictures of a good at their places (name, x, y), fitted into a box_w x box_h
    frame standing on the tile's lower part, over the glass tile."""
    scale = min(52.0 / box_w, 52.0 / box_h)
    left = (SIZE - box_w * scale) / 2.0
    bottom = 8.0

    def draw(x, y):
        colour, alpha = tile(x, y)
        u = (x - left) / scale
        v = (y - bottom) / scale
        for name, lx, ly in layers:
            width, height, picture = TANK_PICTURES[name]
            if 0 <= u - lx < width and 0 <= v - ly < height:
                c, a = picture(u - lx, v - ly)
                if a > 0:
                    colour, alpha = over(colour, alpha, c, a)
        return colour + (alpha * 255,)
    return draw


ICONS = [
    ("home_icon_grass", [("home_plant_grass", 0, 0)], 56, 64),
    ("home_icon_redweed", [("home_plant_redweed", 10, -50)], 52, 70),
    ("home_icon_cabomba", [("home_plant_cabomba", 2, -40)], 52, 70),
    ("home_icon_sword", [("home_plant_sword_left", 0, 4), ("home_plant_sword_right", 0, 4),
                         ("home_plant_sword", 0, 4), ("home_plant_sword_base", 0, 0)], 64, 88),
    ("home_icon_amphora", [("home_deco_amphora", 0, 0)], 50, 70),
    ("home_icon_castle", [("home_deco_castle", 0, 0), ("home_deco_flag", 14, 98)], 84, 114),
    ("home_icon_wheel", [("home_deco_wheel_post", 22, 0), ("home_deco_wheel", 0, 26)], 64, 90),
]


def goods():
    for name, (width, height, draw) in TANK_PICTURES.items():
        write_rows(name + ".png", render(width, height, draw))
    for name, layers, box_w, box_h in ICONS:
        write_png(name + ".png", OUT, OUT, scaled(icon_of(layers, box_w, box_h)))


def main():
    write_png("home_icon_weed.png", OUT, OUT, scaled(weed))
    write_png("home_icon_fan.png", OUT, OUT, scaled(fan))
    goods()


if __name__ == "__main__":
    main()
