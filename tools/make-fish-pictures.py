#!/usr/bin/env python3
"""Draws the demo fish into data/textures/fish/: for each kind one packed picture of its frames
(swimming sideways, turning towards the viewer, turning away; the sea horse also jumping), each
frame cut to its visible part, with the side file that places the frames; then the shadow, the
blue bubble of a sold fish, the thought clouds in three colours, the wish icons and the heart of
the love effects. Uses the PNG writer of make-menu-pictures.py."""

import importlib.util
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location("menu_pictures", os.path.join(HERE, "make-menu-pictures.py"))
menu = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(menu)

OUT = os.path.join(HERE, "..", "data", "textures", "fish")
CLEAR = (0, 0, 0, 0)
SIDE_FRAMES = 6
TURN_FRAMES = 5
JUMP_FRAMES = 5
SAMPLES = 3  # per axis, for soft edges


def smooth(edge0, edge1, v):
    t = max(0.0, min(1.0, (v - edge0) / (edge1 - edge0)))
    return t * t * (3 - 2 * t)


def over(top, bottom):
    """Porter-Duff over of straight-alpha colours with alpha 0..1."""
    ta, ba = top[3], bottom[3]
    a = ta + ba * (1 - ta)
    if a <= 0:
        return CLEAR
    return tuple((top[i] * ta + bottom[i] * ba * (1 - ta)) / a for i in range(3)) + (a,)


def in_triangle(u, v, a, b, c):
    def side(p, q):
        return (q[0] - p[0]) * (v - p[1]) - (q[1] - p[1]) * (u - p[0])
    s1, s2, s3 = side(a, b), side(b, c), side(c, a)
    return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)


def ellipse(u, v, cx, cy, rx, ry):
    """Signed distance-like value: negative inside."""
    return math.hypot((u - cx) / rx, (v - cy) / ry) - 1.0


def draw_eye(u, v, c, ball, colour, spot, spot_colour):
    """An eye over c: the ellipse ball (cx, cy, rx, ry) in colour, with the ellipse spot inside it."""
    if ellipse(u, v, *ball) < 0:
        c = over(colour + (1.0,), c)
        if ellipse(u, v, *spot) < 0:
            c = over(spot_colour + (1.0,), c)
    return c


# ---------------------------------------------------------------- side views
# u runs from -1 (head, left) to 1 (tail, right), v from -1 (bottom) to 1 (top); wag is the tail's
# phase. Each returns (r, g, b, a) with a in 0..1.

def goldfish(u, v, wag):
    c = CLEAR
    sway = 0.22 * math.sin(wag)
    # Fan tail.
    if u > 0.25:
        t = (u - 0.25) / 0.75
        centre = sway * t
        spread = 0.18 + 0.7 * t
        edge = abs(v - centre) - spread
        if edge < 0 and u < 1.0 - 0.15 * abs(math.sin((v - centre) * 6)):
            ray = 0.5 + 0.5 * math.sin((v - centre) * 18)
            c = over((250, 150 + 40 * ray, 60, 0.78), c)
    # Dorsal and lower fins.
    if -0.2 < u < 0.25 and 0.35 < v < 0.35 + 0.45 * (0.25 - u) / 0.45:
        c = over((255, 170, 80, 0.8), c)
    if -0.35 < u < 0.0 and -0.75 + 0.3 * (u + 0.35) / 0.35 < v < -0.4:
        c = over((255, 170, 80, 0.75), c)
    d = ellipse(u, v, -0.25, 0.0, 0.58, 0.55)
    if d < 0:
        shade = 0.5 + 0.5 * v
        body = menu.mix((225, 90, 20), (255, 190, 70), shade)
        scale = 0.5 + 0.5 * math.sin(u * 30) * math.sin(v * 30)
        body = menu.mix(body, (255, 220, 140), 0.15 * scale)
        c = over(body + (1.0,), c)
    c = draw_eye(u, v, c, (-0.58, 0.12, 0.09, 0.13), (20, 20, 30), (-0.6, 0.16, 0.03, 0.04), (255, 255, 255))
    return c


def neon(u, v, wag):
    c = CLEAR
    sway = 0.25 * math.sin(wag)
    if u > 0.45:
        t = (u - 0.45) / 0.55
        centre = sway * t
        if abs(v - centre) < 0.15 + 0.55 * t and u < 0.98:
            c = over((170, 200, 230, 0.55), c)
    d = ellipse(u, v, -0.1, 0.0, 0.62, 0.42)
    if d < 0:
        if v > 0.12:
            body = (60, 90, 120)
        elif v > -0.08:
            body = menu.mix((40, 230, 255), (20, 140, 255), (u + 1) / 2)
        else:
            body = (230, 40, 60) if u > -0.25 else (215, 215, 225)
        c = over(body + (1.0,), c)
    if ellipse(u, v, -0.55, 0.06, 0.08, 0.14) < 0:
        c = over((10, 10, 20, 1.0), c)
    return c


def angelfish(u, v, wag):
    c = CLEAR
    sway = 0.15 * math.sin(wag)
    # Long fins above and below, swept back.
    for sign in (1, -1):
        if in_triangle(u, sign * v, (-0.35, 0.35), (0.15, 0.35), (0.5 + 0.1 * math.sin(wag), 0.98)):
            c = over((230, 230, 215, 0.7), c)
    if u > 0.3:
        t = (u - 0.3) / 0.7
        if abs(v - sway * t) < 0.15 + 0.25 * t and u < 0.95:
            c = over((230, 230, 210, 0.65), c)
    d = ellipse(u, v, -0.2, 0.0, 0.52, 0.55)
    if d < 0:
        stripe = math.sin((u + 0.2) * 14)
        body = (240, 235, 200) if stripe < 0.55 else (45, 40, 45)
        body = menu.mix(body, (255, 250, 230), 0.25 * (0.5 + 0.5 * v))
        c = over(body + (1.0,), c)
    if ellipse(u, v, -0.55, 0.18, 0.08, 0.08) < 0:
        c = over((150, 20, 20, 1.0), c)
    return c


def curl_distance(u, v, straight):
    """Distance to the sea horse's tail (negative inside): down from the belly into a curl that
    straightens while it jumps."""
    if v > -0.1 or abs(u) > 0.6:
        return 1.0
    best = 9.0
    n = 40
    for i in range(n):
        s = i / (n - 1)
        if s < 0.5:
            k = s / 0.5
            x, y = 0.1 - 0.12 * k, -0.25 - 0.45 * k
            width = 0.13 - 0.04 * k
        else:
            k = (s - 0.5) / 0.5
            a = math.pi + k * 1.5 * math.pi * (1 - straight)
            r = 0.16
            x, y = -0.02 + r + r * math.cos(a), -0.7 + r * math.sin(a) - 0.25 * k * straight
            width = 0.09 - 0.05 * k
        best = min(best, math.hypot(u - x, v - y) - width)
    return best


def seahorse(u, v, wag, straight=0.0):
    c = CLEAR
    # Dorsal fin fluttering on its back (the right side).
    if 0.22 < u < 0.5 and -0.15 < v < 0.35:
        if u - 0.22 < 0.25 + 0.06 * math.sin(wag + v * 12):
            c = over((250, 230, 140, 0.6), c)
    yellow = (240, 190, 40)
    parts = [
        ellipse(u, v, 0.0, 0.1, 0.3, 0.42),           # body
        ellipse(u, v, -0.05, 0.62, 0.26, 0.2),        # head
        ellipse(u, v, -0.45, 0.56, 0.28, 0.07),       # snout
        ellipse(u, v, 0.05, 0.84, 0.08, 0.1),         # crown
        curl_distance(u, v, straight),
    ]
    if min(parts) < 0:
        ring = 0.5 + 0.5 * math.sin(v * 28)
        body = menu.mix(yellow, (200, 130, 20), 0.35 * ring + 0.2 * (0.5 - 0.5 * v))
        c = over(body + (1.0,), c)
    if ellipse(u, v, -0.1, 0.66, 0.06, 0.06) < 0:
        c = over((20, 20, 20, 1.0), c)
    return c


def guppy(u, v, wag):
    c = CLEAR
    sway = 0.3 * math.sin(wag)
    # A big fan tail, orange at the root and blue at the rim, with dark spots.
    if u > 0.05:
        t = (u - 0.05) / 0.95
        centre = sway * t
        spread = 0.12 + 0.85 * t
        if abs(v - centre) < spread and u < 1.0 - 0.08 * abs(math.sin((v - centre) * 5)):
            colour = menu.mix((255, 140, 40), (60, 120, 255), smooth(0.2, 0.9, t))
            spot = math.sin(u * 23) * math.sin((v - centre) * 19)
            if spot > 0.75:
                colour = menu.mix(colour, (30, 30, 60), 0.7)
            c = over(colour + (0.85,), c)
    if -0.25 < u < 0.1 and 0.2 < v < 0.2 + 0.4 * (0.1 - u) / 0.35:
        c = over((120, 170, 230, 0.75), c)
    d = ellipse(u, v, -0.42, 0.0, 0.5, 0.4)
    if d < 0:
        body = menu.mix((120, 130, 110), (200, 205, 180), 0.5 + 0.5 * v)
        body = menu.mix(body, (230, 240, 255), 0.25 * max(0.0, 1 - abs(v + 0.05) * 4))
        c = over(body + (1.0,), c)
    c = draw_eye(u, v, c, (-0.74, 0.1, 0.08, 0.14), (15, 15, 20), (-0.76, 0.15, 0.03, 0.05), (255, 255, 255))
    return c


def clownfish(u, v, wag):
    c = CLEAR
    sway = 0.18 * math.sin(wag)
    black = (25, 20, 20)
    orange = (250, 120, 25)
    # Rounded tail and fins, orange with a black rim.
    if u > 0.45:
        t = (u - 0.45) / 0.55
        centre = sway * t
        d = math.hypot((u - 0.75) / 0.28, (v - centre) / (0.25 + 0.4 * t)) - 1
        if d < 0 and u > 0.5:
            c = over((black if d > -0.2 else orange) + (1.0,), c)
    for sign in (1, -1):
        d = ellipse(u, v, -0.05, sign * 0.5, 0.45, 0.32)
        if d < 0 and sign * v > 0.3:
            c = over((black if d > -0.22 else orange) + (1.0,), c)
    d = ellipse(u, v, -0.12, 0.0, 0.7, 0.58)
    if d < 0:
        body = menu.mix((230, 95, 15), (255, 165, 60), 0.5 + 0.5 * v)
        # Three white bands with black edges.
        for centre, half in ((-0.52, 0.08), (-0.05, 0.11), (0.38, 0.06)):
            bend = centre + 0.08 * v * v
            edge = abs(u - bend)
            if edge < half:
                body = (250, 250, 245)
            elif edge < half + 0.035:
                body = black
        c = over(body + (1.0,), c)
    c = draw_eye(u, v, c, (-0.62, 0.16, 0.08, 0.11), (15, 10, 10), (-0.64, 0.2, 0.03, 0.04), (255, 255, 255))
    return c


def discus(u, v, wag):
    c = CLEAR
    sway = 0.12 * math.sin(wag)
    if u > 0.6:
        t = (u - 0.6) / 0.4
        if abs(v - sway * t) < 0.12 + 0.3 * t and u < 0.97:
            c = over((200, 110, 70, 0.8), c)
    # The fins make a rim around the disc.
    d = ellipse(u, v, -0.02, 0.0, 0.72, 0.86)
    if d < 0:
        c = over((170, 70, 50, 0.85), c)
    d = ellipse(u, v, -0.05, 0.0, 0.64, 0.76)
    if d < 0:
        body = menu.mix((160, 60, 40), (220, 120, 70), 0.5 + 0.5 * v)
        wave = math.sin(v * 16 + 1.5 * math.sin(u * 9))
        if wave > 0.55:
            body = menu.mix(body, (60, 200, 220), 0.8)
        if abs(u + 0.45) < 0.05:
            body = menu.mix(body, (50, 25, 20), 0.7)
        c = over(body + (1.0,), c)
    c = draw_eye(u, v, c, (-0.5, 0.12, 0.07, 0.07), (200, 30, 20), (-0.5, 0.12, 0.03, 0.03), (10, 10, 10))
    return c


def bluetang(u, v, wag):
    c = CLEAR
    sway = 0.2 * math.sin(wag)
    yellow = (255, 215, 40)
    # A yellow tail fork.
    if u > 0.5:
        t = (u - 0.5) / 0.5
        centre = sway * t
        if abs(v - centre) < 0.1 + 0.55 * t and u < 0.98 - 0.25 * max(0.0, 1 - abs(v - centre) / 0.4):
            c = over(yellow + (1.0,), c)
    for sign in (1, -1):
        if -0.6 < u < 0.45 and sign * v > 0.4 and sign * v < 0.4 + 0.25 * (1 - abs(u + 0.07) / 0.53):
            c = over((30, 60, 170, 0.95), c)
    d = ellipse(u, v, -0.1, 0.0, 0.66, 0.55)
    if d < 0:
        body = menu.mix((25, 70, 200), (80, 150, 255), 0.5 + 0.5 * v)
        # The black palette: a band from the eye along the back to the tail, with a loop.
        band = abs(v - (0.28 - 0.12 * math.sin((u + 0.55) * 3.2)))
        loop = ellipse(u, v, 0.05, -0.05, 0.28, 0.18)
        if band < 0.1 or (-0.35 < loop < 0 and u > -0.1):
            body = (15, 20, 45)
        if u > 0.4:
            body = menu.mix(body, yellow, smooth(0.4, 0.52, u))
        c = over(body + (1.0,), c)
    c = draw_eye(u, v, c, (-0.6, 0.15, 0.08, 0.1), (10, 10, 20), (-0.62, 0.18, 0.03, 0.04), (255, 255, 255))
    return c


# ---------------------------------------------------------------- frames

def face(u, v, colour, dark):
    """The fish seen from the front (two eyes) or, dark, from behind (the tail's edge)."""
    if ellipse(u, v, 0.0, 0.0, 0.32, 0.62) >= 0:
        return CLEAR
    c = menu.mix(colour, (0, 0, 0), 0.35 if dark else 0.0) + (1.0,)
    if dark:
        if abs(u) < 0.06:
            c = over((255, 240, 200, 0.5), c)
    else:
        for side in (-1, 1):
            if ellipse(u, v, side * 0.16, 0.15, 0.08, 0.1) < 0:
                c = (15, 15, 20, 1.0)
    return c


def render(width, height, pixel):
    """A frame of the size from pixel(u, v) with supersampling; rows bottom first."""
    frame = []
    for y in range(height):
        row = []
        for x in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    u = ((x + (sx + 0.5) / SAMPLES) / width) * 2 - 1
                    v = ((y + (sy + 0.5) / SAMPLES) / height) * 2 - 1
                    r, g, b, a = pixel(u, v)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SAMPLES * SAMPLES
            a = acc[3] / n
            if a > 0:
                row.append((acc[0] / acc[3], acc[1] / acc[3], acc[2] / acc[3], a * 255))
            else:
                row.append((0, 0, 0, 0))
        frame.append(row)
    return frame


def side_frames(kind):
    return [render(kind["w"], kind["h"], lambda u, v, k=k: kind["draw"](u, v, 2 * math.pi * k / SIDE_FRAMES))
            for k in range(SIDE_FRAMES)]


def turn_frames(kind, dark):
    """From facing left (frame 0) through the front or back view to facing right."""
    frames = []
    for k in range(TURN_FRAMES):
        t = k / (TURN_FRAMES - 1)
        squash = math.cos(math.pi * t)

        def pixel(u, v, squash=squash):
            c = CLEAR
            if abs(squash) > 0.05:
                c = kind["draw"](u / squash, v, 0.0)
                c = c[:3] + (c[3] * min(1.0, abs(squash) * 1.6),)
            front = face(u / 0.9, v / 0.9, kind["colour"], dark)
            if front[3] > 0:
                c = over(front[:3] + (front[3] * (1.0 - abs(squash)) ** 0.7,), c)
            return c

        frames.append(render(kind["w"], kind["h"], pixel))
    return frames


def jump_frames(kind):
    frames = []
    for k in range(JUMP_FRAMES):
        stretch = math.sin(math.pi * k / (JUMP_FRAMES - 1))
        frames.append(render(kind["w"], kind["h"],
                             lambda u, v, s=stretch: seahorse(u, v * (1.0 + 0.15 * s), 2.0 * s, straight=0.8 * s)))
    return frames


def trim(frame):
    """The visible box of a frame: x, y (from the bottom), width, height; None when empty."""
    xs, ys = [], []
    for y, row in enumerate(frame):
        for x, p in enumerate(row):
            if p[3] >= 1:
                xs.append(x)
                ys.append(y)
    if not xs:
        return None
    return min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1


def pack(name, frames, frame_width, frame_height):
    """Writes name.png with the frames' visible parts in one row and name.xml that places them."""
    boxes = [trim(f) or (0, 0, 1, 1) for f in frames]
    atlas_width = sum(b[2] for b in boxes) + len(boxes) - 1
    atlas_height = max(b[3] for b in boxes)
    pixels = [[(0, 0, 0, 0)] * atlas_width for _ in range(atlas_height)]
    lines = []
    x0 = 0
    for frame, (bx, by, bw, bh) in zip(frames, boxes):
        for y in range(bh):
            for x in range(bw):
                pixels[y][x0 + x] = frame[by + y][bx + x]
        # Positions in the side file count from the top.
        lines.append('\t<frame x="%d" y="%d" width="%d" height="%d" frameWidth="%d" frameHeight="%d" '
                     'innerX="%d" innerY="%d"/>' % (x0, atlas_height - bh, bw, bh, frame_width, frame_height,
                                                     bx, frame_height - by - bh))
        x0 += bw + 1
    menu.write_png("fish/%s.png" % name, atlas_width, atlas_height, lambda x, y: pixels[y][x])
    with open(os.path.join(OUT, name + ".xml"), "w", newline="\n") as f:
        f.write('<PackedAnimation count="%d">\n' % len(frames))
        f.write("\n".join(lines) + "\n</PackedAnimation>\n")


KINDS = [
    {"name": "goldfish", "w": 72, "h": 46, "draw": goldfish, "colour": (240, 130, 40)},
    {"name": "neon", "w": 40, "h": 18, "draw": neon, "colour": (40, 160, 230)},
    {"name": "angelfish", "w": 56, "h": 64, "draw": angelfish, "colour": (230, 225, 190)},
    {"name": "seahorse", "w": 36, "h": 64, "draw": lambda u, v, w: seahorse(u, v, w), "colour": (240, 190, 40)},
    {"name": "guppy", "w": 40, "h": 22, "draw": guppy, "colour": (150, 160, 140)},
    {"name": "clownfish", "w": 56, "h": 34, "draw": clownfish, "colour": (245, 120, 30)},
    {"name": "discus", "w": 56, "h": 56, "draw": discus, "colour": (190, 80, 50)},
    {"name": "bluetang", "w": 64, "h": 42, "draw": bluetang, "colour": (40, 90, 210)},
]


def fish(only=()):
    for kind in KINDS:
        if only and kind["name"] not in only:
            continue
        frames = side_frames(kind) + turn_frames(kind, False) + turn_frames(kind, True)
        if kind["name"] == "seahorse":
            frames += jump_frames(kind)
        pack("fish_" + kind["name"], frames, kind["w"], kind["h"])
        icon(kind)


def icon(kind):
    """The wish icon: the first side frame fitted into 40 x 30."""
    width, height = 40, 30
    scale = max(kind["w"] / (width - 4.0), kind["h"] / (height - 4.0))

    def pixel(u, v):
        return kind["draw"](u * width / 2 * scale / (kind["w"] / 2), v * height / 2 * scale / (kind["h"] / 2), 0.0)

    frame = render(width, height, pixel)
    menu.write_png("fish/icon_%s.png" % kind["name"], width, height, lambda x, y: frame[y][x])


# ---------------------------------------------------------------- the rest

def shadow():
    width, height = 64, 16

    def pixel(x, y):
        d = math.hypot((x + 0.5 - width / 2) / (width / 2), (y + 0.5 - height / 2) / (height / 2))
        return (10, 20, 30, 110 * (1 - smooth(0.3, 1.0, d)))

    menu.write_png("fish/fish_shadow.png", width, height, pixel)


def bubble_blue():
    size = 64

    def pixel(x, y):
        d = math.hypot(x + 0.5 - size / 2, y + 0.5 - size / 2) / (size / 2)
        if d > 1:
            return CLEAR
        rim = smooth(0.7, 0.97, d) * (1 - smooth(0.97, 1.0, d))
        alpha = 40 + 170 * rim
        colour = menu.mix((120, 190, 255), (220, 245, 255), rim)
        glint = math.hypot(x - size * 0.33, y - size * 0.68) / (size * 0.12)
        if glint < 1:
            colour = menu.mix(colour, (255, 255, 255), 1 - glint)
            alpha = max(alpha, 230 * (1 - glint))
        return colour + (alpha,)

    menu.write_png("fish/bubble_blue.png", size, size, pixel)


CLOUD_COLOURS = {"red": (255, 205, 205), "green": (205, 250, 205), "purple": (230, 205, 255)}
CLOUD_EDGES = {"red": (190, 60, 60), "green": (50, 150, 60), "purple": (130, 70, 190)}


def cloud(name, colour, edge, width, height, puffs):
    def pixel(x, y):
        u = (x + 0.5) / width
        v = (y + 0.5) / height
        d = min(math.hypot((u - cx) / r, (v - cy) / (r * width / height)) for cx, cy, r in puffs) - 1
        if d > 0.08:
            return CLEAR
        alpha = 255 * (1 - smooth(0.0, 0.08, d))
        if d > -0.12:
            return edge + (alpha,)
        return menu.mix(colour, (255, 255, 255), 0.5 * v) + (alpha,)

    menu.write_png("fish/%s.png" % name, width, height, pixel)


def clouds():
    big = [(0.28, 0.5, 0.2), (0.5, 0.62, 0.24), (0.72, 0.5, 0.2), (0.5, 0.4, 0.26)]
    for key in CLOUD_COLOURS:
        colour, edge = CLOUD_COLOURS[key], CLOUD_EDGES[key]
        cloud("cloud_%s" % key, colour, edge, 64, 52, big)
        cloud("cloud_%s_1" % key, colour, edge, 20, 16, [(0.5, 0.5, 0.4)])
        cloud("cloud_%s_2" % key, colour, edge, 12, 10, [(0.5, 0.5, 0.4)])


def heart():
    size = 16

    def pixel(x, y):
        u = (x + 0.5) / size * 2.6 - 1.3
        v = (y + 0.5) / size * 2.6 - 1.15
        d = (u * u + v * v - 1) ** 3 - u * u * v ** 3
        alpha = 255 * (1 - smooth(-0.02, 0.02, d))
        return (255, 90, 130, alpha)

    menu.write_png("fish/heart.png", size, size, pixel)


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    # Kinds named on the command line are drawn alone, without the shared pictures.
    kinds = sys.argv[1:]
    fish(kinds)
    if kinds:
        sys.exit(0)
    shadow()
    bubble_blue()
    clouds()
    heart()
