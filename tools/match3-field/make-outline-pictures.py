#!/usr/bin/env python3
"""Draws the pictures around the demo game field into data/textures/match3/: the border atlas
("scope", 44-unit tiles counted from the top of a 256-high picture), the decor pieces that dress
the field's outline, the timer's layers and glow, and the flare frames of painted cells. Every
decor piece is lit from the upper left, so a mirrored piece looks different. Uses the PNG writer
of make-menu-pictures.py."""

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

TILE = 44
SAND = (236, 206, 140)
SAND_DARK = (150, 110, 60)


def over(top, bottom):
    """Alpha compositing of two (r, g, b, a) colours, alpha 0..255."""
    ta = top[3] / 255.0
    ba = bottom[3] / 255.0
    a = ta + ba * (1.0 - ta)
    if a <= 0.0:
        return (0, 0, 0, 0)
    rgb = tuple((top[i] * ta + bottom[i] * ba * (1.0 - ta)) / a for i in range(3))
    return rgb + (a * 255.0,)


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


# Border tiles: which of the four cells around the tile's centre (upper left, upper right, lower
# left, lower right) lie in the field.
BORDER_TILES = {
    (1, 1): (0, 0, 0, 1), (2, 1): (0, 0, 1, 1), (3, 1): (0, 0, 1, 0),
    (1, 2): (0, 1, 0, 1), (3, 2): (1, 0, 1, 0),
    (1, 3): (0, 1, 0, 0), (2, 3): (1, 1, 0, 0), (3, 3): (1, 0, 0, 0),
    (5, 0): (1, 1, 1, 0), (6, 0): (1, 1, 0, 1), (5, 1): (1, 0, 1, 1), (6, 1): (0, 1, 1, 1),
}


def border_tile(cells, x, y):
    ul, ur, dl, dr = cells
    c = TILE / 2.0
    segments = []
    if ul != ur:
        segments.append((c, c, c, TILE))
    if dl != dr:
        segments.append((c, 0, c, c))
    if ul != dl:
        segments.append((0, c, c, c))
    if ur != dr:
        segments.append((c, c, TILE, c))
    if not segments:
        return (0, 0, 0, 0)
    d = min(segment_distance(x, y, *s) for s in segments)
    left = x < c
    upper = y >= c
    inside = (ul if left else ur) if upper else (dl if left else dr)
    if inside:
        under = (255, 250, 220, 70 * (1.0 - smooth(4.0, 9.0, d)))
    else:
        under = (0, 10, 25, 150 * (1.0 - smooth(4.0, 14.0, d)))
    # A rope of sand with a bright middle; the side towards the field is lit.
    band = 1.0 - smooth(4.5, 6.0, d)
    colour = mix(SAND, SAND_DARK, min(1.0, d / 6.0) * (0.4 if inside else 1.0))
    return over(colour + (255 * band,), under)


def scope(x, y):
    column = x // TILE
    row = (255 - y) // TILE
    cells = BORDER_TILES.get((column, row))
    if cells is None or y < 256 - 4 * TILE:
        return (0, 0, 0, 0)
    return border_tile(cells, x % TILE + 0.5, (y - (256 - (row + 1) * TILE)) + 0.5)


# Decor: each piece is a list of shapes drawn in order; a shape is a signed distance function
# and a colour, shaded brighter towards the upper left of the picture.

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx, cy, rx, ry):
    def sdf(x, y):
        k0 = math.hypot((x - cx) / rx, (y - cy) / ry)
        k1 = math.hypot((x - cx) / (rx * rx), (y - cy) / (ry * ry))
        return k0 * (k0 - 1.0) / k1 if k1 > 0.0 else -min(rx, ry)
    return sdf


def capsule(ax, ay, bx, by, r):
    return lambda x, y: segment_distance(x, y, ax, ay, bx, by) - r


def strand(points, r0, r1):
    """A tapering line through the points, r0 thick at the first and r1 at the last."""
    def sdf(x, y):
        best = 1e9
        n = len(points) - 1
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[i + 1]
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / float(dx * dx + dy * dy)))
            r = r0 + (r1 - r0) * (i + t) / n
            best = min(best, math.hypot(x - ax - t * dx, y - ay - t * dy) - r)
        return best
    return sdf


def star(cx, cy, r, arms, turn):
    def sdf(x, y):
        a = math.atan2(y - cy, x - cx) + turn
        k = 0.55 + 0.45 * math.cos(arms * a)
        return math.hypot(x - cx, y - cy) - r * k
    return sdf


def shell(cx, cy, r):
    """A scallop: a half disc with ribs."""
    def sdf(x, y):
        d = math.hypot(x - cx, y - cy) - r
        return max(d, cy - y)
    return sdf


def piece(width, height, shapes, ribs=None):
    def pixel(x, y):
        px, py = x + 0.5, y + 0.5
        result = (0, 0, 0, 0)
        for sdf, colour in shapes:
            d = sdf(px, py)
            cover = 1.0 - smooth(-0.8, 0.8, d)
            if cover <= 0.0:
                continue
            light = 0.45 * (1.0 - px / width) * (py / height) + 0.2 * smooth(-5.0, 0.0, d) * (1 if px < width / 2 else 0)
            shade = 0.35 * (px / width) * (1.0 - py / height)
            c = mix(mix(colour, (255, 255, 240), light), (10, 20, 30), shade)
            if ribs is not None:
                c = mix(c, (90, 60, 40), ribs(px, py) * cover)
            result = over(c + (255 * cover,), result)
        return result
    return pixel


def scallop_ribs(cx, cy):
    def ribs(x, y):
        a = math.atan2(y - cy, x - cx)
        return 0.35 * max(0.0, math.cos(a * 9.0)) ** 8 if y > cy else 0.0
    return ribs


DECOR = {
    # Top edge: a scallop with a pebble beside it; a starfish on a stone.
    "field_decor1.png": (96, 36, [(circle(80, 7, 7), (140, 150, 150)), (shell(44, 2, 32), (240, 170, 120))],
                         scallop_ribs(44, 2)),
    "field_decor1_2.png": (88, 30, [(ellipse(52, 6, 30, 7), (110, 120, 125)),
                                    (star(32, 14, 14, 5, 0.3), (240, 110, 80))], None),
    # Under an overhang: a short coral; two pebbles.
    "field_decor2.png": (30, 30, [(strand([(10, 0), (12, 14), (6, 26)], 3.5, 2.0), (230, 90, 110)),
                                  (strand([(12, 10), (22, 20), (24, 28)], 2.5, 1.5), (240, 120, 130))], None),
    "field_decor2_2.png": (28, 20, [(ellipse(10, 7, 9, 6), (130, 135, 140)), (ellipse(21, 5, 6, 4), (160, 150, 130))],
                           None),
    # Beside a step: weed leaning away from the wall; a small kelp.
    "field_decor3.png": (30, 40, [(strand([(8, 0), (10, 16), (18, 28), (26, 38)], 3.0, 1.0), (70, 170, 90)),
                                  (strand([(14, 0), (12, 12), (16, 24)], 2.5, 1.0), (100, 190, 100))], None),
    "field_decor3_2.png": (26, 34, [(strand([(6, 0), (4, 12), (10, 24), (8, 33)], 3.5, 1.5), (120, 150, 60))], None),
    # Pillar tops: a starfish; a snail shell.
    "field_decor4.png": (34, 22, [(star(17, 10, 12, 5, 0.9), (250, 150, 70))], None),
    "field_decor4_2.png": (30, 20, [(ellipse(18, 6, 11, 5), (190, 170, 150)), (circle(12, 10, 8), (220, 160, 90))],
                           None),
    # Row tops: three pebbles of falling sizes; a fan coral.
    "field_decor5.png": (60, 24, [(ellipse(14, 9, 12, 9), (125, 130, 140)), (ellipse(34, 7, 9, 7), (150, 140, 125)),
                                  (ellipse(50, 5, 7, 5), (110, 115, 120))], None),
    "field_decor5_2.png": (56, 28, [(shell(24, 0, 22), (200, 80, 140)), (circle(46, 5, 5), (140, 150, 150))],
                           scallop_ribs(24, 0)),
    # Single holes: a sprout; a cockle.
    "field_decor6.png": (26, 30, [(strand([(8, 0), (9, 14), (16, 28)], 2.5, 1.0), (90, 200, 110)),
                                  (ellipse(15, 18, 6, 3), (120, 210, 120))], None),
    "field_decor6_2.png": (24, 20, [(shell(10, 0, 10), (245, 210, 170)), (circle(20, 3, 3), (120, 120, 130))],
                           scallop_ribs(10, 0)),
    # Sides of the field: a tall kelp strand with a leaf.
    "field_decor7.png": (24, 104, [(strand([(12, 0), (8, 30), (14, 60), (10, 88), (16, 103)], 3.5, 1.2),
                                    (60, 150, 80)),
                                   (ellipse(16, 50, 6, 12), (80, 175, 90))], None),
}


def timer_frame(x, y):
    d = menu.rounded_box_distance(x, y, 40, 231, 12)
    alpha = 1.0 - smooth(-1.5, 0.5, d)
    rim = smooth(-4.0, -1.0, d)
    colour = mix((10, 30, 55), (170, 210, 235), rim)
    return colour + (255 * alpha * (0.55 + 0.45 * rim),)


def timer_tick(x, y):
    return (220, 235, 250, 200)


def timer_marker(x, y):
    # A small white fish facing left; the layer colours it.
    px, py = x + 0.5, y + 0.5
    body = (math.hypot((px - 11) / 9.0, (py - 12) / 6.0) - 1.0) * 6.0
    tail = max(px - 26, 17 - px, abs(py - 12) - (px - 16) * 0.8)
    d = min(body, tail)
    cover = 1.0 - smooth(-0.8, 0.8, d)
    colour = mix((255, 255, 255), (170, 170, 170), (px / 24.0) * (1.0 - py / 24.0))
    if math.hypot(px - 6, py - 13) < 1.6:
        colour = (30, 30, 40)
    return colour + (255 * cover,)


def timer_shine(x, y):
    t = abs(x + 0.5 - 28) / 28.0
    v = (y + 0.5) / 60.0
    return (255, 250, 200, 150 * (1.0 - t * t) * math.sin(math.pi * v) ** 0.5)


def paint_flare(base_top, base_bottom, frames):
    """Frames of a painted cell with a streak of light crossing it diagonally, in one row."""
    def pixel(x, y):
        frame = x // TILE
        lx, ly = x % TILE + 0.5, y + 0.5
        edge = min(lx, ly, TILE - lx, TILE - ly)
        colour = mix(base_bottom, base_top, ly / TILE)
        colour = mix(colour, (255, 255, 255), 0.25 * (1.0 - smooth(0.0, 3.0, edge)))
        position = -TILE * 0.5 + (frame + 0.5) / frames * TILE * 2.0
        streak = max(0.0, 1.0 - abs(lx + ly - TILE - position) / 7.0)
        colour = mix(colour, (255, 255, 250), 0.8 * streak)
        return colour + (255,)
    return pixel


def main():
    folder = os.path.join(menu.OUT, "match3")
    os.makedirs(folder, exist_ok=True)
    write_png(os.path.join("match3", "field_scope.png"), 7 * TILE, 256, scope)
    for name, (width, height, shapes, ribs) in sorted(DECOR.items()):
        write_png(os.path.join("match3", name), width, height, piece(width, height, shapes, ribs))
    write_png(os.path.join("match3", "field_timer_frame.png"), 40, 231, timer_frame)
    write_png(os.path.join("match3", "field_timer_tick.png"), 8, 2, timer_tick)
    write_png(os.path.join("match3", "field_timer_marker.png"), 28, 24, timer_marker)
    write_png(os.path.join("match3", "field_timer_shine.png"), 56, 60, timer_shine)
    write_png(os.path.join("match3", "field_golden_flare.png"), 8 * TILE, TILE,
              paint_flare((250, 215, 110), (190, 140, 40), 8))
    write_png(os.path.join("match3", "field_silver_flare.png"), 8 * TILE, TILE,
              paint_flare((235, 240, 245), (150, 160, 175), 8))


if __name__ == "__main__":
    main()
