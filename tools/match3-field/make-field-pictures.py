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
# One colour and one outline a piece kind, so that no two pieces share a shape. The outline is
# dark, and the body light enough to stand out on the dark plain cell as well as on paint.
CHIP_COLOURS = [
    (220, 60, 60), (60, 170, 230), (80, 200, 90), (240, 200, 60), (180, 90, 220),
    (240, 130, 40), (235, 235, 235), (80, 110, 240), (240, 110, 170),
]
CHIP_SHAPES = ["ring", "square", "diamond", "star", "triangle", "drop", "heart", "cross", "crescent"]
BONUS_COLOURS = [(255, 120, 30), (40, 40, 50), (235, 70, 55), (120, 220, 80), (250, 250, 120)]
BONUS_SHAPES = ["rocket", "bomb", "dynamite", "trefoil", "bolt"]
DARK_RIM = (15, 15, 30)
LIGHT_RIM = (235, 235, 245)


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


# Signed distances in pixels (negative inside), y up, from the piece's centre.

def circle(x, y, r):
    return math.hypot(x, y) - r


def box(x, y, hx, hy, r=0.0):
    qx, qy = abs(x) - hx + r, abs(y) - hy + r
    return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r


def capsule(x, y, ax, ay, bx, by, r):
    px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
    t = max(0.0, min(1.0, (px * vx + py * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - vx * t, py - vy * t) - r


def polygon(x, y, points):
    d = float("inf")
    inside = False
    n = len(points)
    for i in range(n):
        (ax, ay), (bx, by) = points[i], points[i - 1]
        ex, ey, wx, wy = bx - ax, by - ay, x - ax, y - ay
        t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
        d = min(d, math.hypot(wx - ex * t, wy - ey * t))
        if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
            inside = not inside
    return -d if inside else d


def rotated(x, y, degrees):
    a = math.radians(degrees)
    return x * math.cos(a) + y * math.sin(a), -x * math.sin(a) + y * math.cos(a)


def star_points(tips, outer, inner, turn=90.0):
    points = []
    for i in range(2 * tips):
        a = math.radians(turn + i * 180.0 / tips)
        r = outer if i % 2 == 0 else inner
        points.append((r * math.cos(a), r * math.sin(a)))
    return points


FIVE_STAR = star_points(5, 20.0, 8.5)
TRIANGLE = [(0.0, 18.0), (-17.5, -12.5), (17.5, -12.5)]
SPARK = star_points(4, 6.0, 2.0, 45.0)
BOLT = [(4.0, 20.0), (-11.0, -1.0), (-1.5, -1.0), (-6.0, -20.0), (11.0, 4.0), (1.5, 4.0), (9.0, 20.0)]


def heart(x, y):
    # A unit heart (point at the origin, lobes up) scaled to 36 pixels.
    s = 36.0
    px, py = abs(x) / s, (y + 17.0) / s
    if px + py > 1.0:
        return (math.hypot(px - 0.25, py - 0.75) - math.sqrt(2.0) / 4.0) * s
    a = math.hypot(px, py - 1.0)
    m = 0.5 * max(px + py, 0.0)
    b = math.hypot(px - m, py - m)
    return min(a, b) * (1.0 if px > py else -1.0) * s


def trefoil(x, y):
    # Three blades between radii 6.5 and 19, each 60 degrees wide, round a dot.
    r = math.hypot(x, y)
    delta = (math.degrees(math.atan2(y, x)) - 30.0) % 120.0 - 60.0
    wedge = r * math.sin(math.radians(abs(delta) - 30.0))
    blades = max(6.5 - r, r - 19.0, wedge)
    return min(blades, r - 4.5)


SHAPES = {
    "ring": lambda x, y: max(circle(x, y, 17.5), 6.5 - math.hypot(x, y)),
    "square": lambda x, y: box(x, y, 15.5, 15.5, 2.0),
    "diamond": lambda x, y: (abs(x) + abs(y) - 20.0) / math.sqrt(2.0),
    "star": lambda x, y: polygon(x, y + 1.5, FIVE_STAR) - 1.0,
    "triangle": lambda x, y: polygon(x, y + 1.0, TRIANGLE) - 1.5,
    "drop": lambda x, y: min(circle(x, y + 6.0, 13.0), polygon(x, y, [(0.0, 19.0), (-11.0, -1.0), (11.0, -1.0)])),
    "heart": heart,
    "cross": lambda x, y: min(box(x, y, 17.0, 6.0, 2.0), box(x, y, 6.0, 17.0, 2.0)),
    "crescent": lambda x, y: max(circle(x, y, 18.0), -circle(x - 9.0, y - 5.0, 14.5)),
    "rocket": lambda x, y: min(capsule(x, y, -9.0, -13.0, 6.0, 8.0, 7.5), polygon(x - 12.0, y - 14.0, SPARK)),
    "bomb": lambda x, y: min(circle(x + 2.0, y + 3.0, 15.0), capsule(x, y, 7.0, 8.0, 11.0, 13.0, 2.5),
                             polygon(x - 13.5, y - 15.5, SPARK)),
    "dynamite": lambda x, y: min(box(*rotated(x + dx, y, 20.0), 4.2, 14.5, 1.5) for dx in (-9.0, 0.0, 9.0)),
    "trefoil": trefoil,
    "bolt": lambda x, y: polygon(x, y, BOLT) - 1.0,
}


def body(colour, distance, dx, dy, gleam, rim):
    """The colour of a piece's pixel: shaded towards its outline, a shine spot, and the rim."""
    base = mix(colour, (0, 0, 0), 0.2 * smooth(-8.0, -2.0, distance))
    shine = max(0.0, 1.0 - math.hypot(dx + 6, dy - 7) / 10.0) * gleam
    shaded = mix(base, (255, 255, 255), shine)
    return mix(shaded, rim, 0.85 * smooth(-2.6, -1.6, distance))


def chip(colour, shape):
    outline = SHAPES[shape]

    def draw(frame, x, y):
        cx = cy = PIECE / 2
        # Frames 1..35 turn the piece, 36..71 make it wink.
        turn = math.sin(frame / 35.0 * math.pi) if 1 <= frame <= 35 else 0.0
        wink = math.sin((frame - 36) / 35.0 * math.pi) if frame >= 36 else 0.0
        sx = 1.0 - 0.35 * turn
        dx = (x - cx) / sx
        dy = y - cy
        d = outline(dx, dy)
        inside = 1.0 - smooth(-1.0, 1.0, d)
        if inside <= 0.0:
            return (0, 0, 0, 0)
        r, g, b = body(colour, d, dx, dy, 0.6 + 0.4 * wink, DARK_RIM)
        return (r, g, b, 255 * inside)
    return draw


def bonus(colour, shape):
    outline = SHAPES[shape]
    # The dark bomb gets a light rim, the others a dark one.
    rim = LIGHT_RIM if sum(colour) < 200 else DARK_RIM

    def draw(frame, x, y):
        cx = cy = PIECE / 2
        dx, dy = x - cx, y - cy
        d = outline(dx, dy)
        inside = 1.0 - smooth(-1.0, 1.0, d)
        if inside <= 0.0:
            return (0, 0, 0, 0)
        pulse = 0.5 + 0.5 * math.sin(frame / 32.0 * 2 * math.pi)
        angle = math.atan2(dy, dx) + frame / 32.0 * 2 * math.pi
        sparkle = (0.5 + 0.5 * math.cos(angle * 5)) * 0.35 * pulse
        r, g, b = body(mix(colour, (255, 255, 200), sparkle), d, dx, dy, 0.4 + 0.4 * pulse, rim)
        return (r, g, b, 255 * inside)
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
    """The lock atlas: tile (1, 0) one lock, tile (2, 0) two, 44-unit tiles from the top of 256. Thin
    bars let the piece's outline show through; the double lock has more bars and a padlock in its
    lower right corner."""
    column = x // 44
    if y < 256 - 44 or column not in (1, 2):
        return (0, 0, 0, 0)
    lx, ly = x % 44, y - (256 - 44)
    bars = (14, 28) if column == 1 else (10, 21, 32)
    bar = any(b <= lx <= b + 1 or b <= ly <= b + 1 for b in bars)
    frame = min(lx, ly, 43 - lx, 43 - ly) < 3
    if column == 2:
        if 31 <= lx <= 40 and 3 <= ly <= 11:
            return (210, 170, 60, 255)
        if 11 < ly <= 17 and 2.0 < math.hypot(lx - 35.5, ly - 11.5) < 4.5:
            return (200, 200, 210, 255)
    if frame:
        return (150, 150, 165, 230)
    if bar:
        return (185, 185, 200, 235)
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
        sheet("field_chip%d.png" % c, 72, chip(colour, CHIP_SHAPES[c]))
    for k, colour in enumerate(BONUS_COLOURS):
        sheet("field_bonus%d.png" % (k + 1), 32, bonus(colour, BONUS_SHAPES[k]))
    single("field_cell.png", 44, 44, cell)
    single("field_cell_glow.png", 66, 66, cell_glow)
    single("field_locks.png", 3 * 44, 256, locks)
    for direction in ("left", "right", "up", "down"):
        single("field_arrow_%s.png" % direction, 16, 16, arrow(direction))
    single("field_timer_bar.png", 24, 207, timer_bar)
    single("field_background.png", 800, 600, background)


if __name__ == "__main__":
    main()
