#!/usr/bin/env python3
"""Makes an input script that wins a match-three level in a headless run of the game.

The player is the game itself: the program runs again and again on a copy of the data folder, each
time with the script so far and a frame count that ends the run where the next move is to be made.
Closing the program saves the running level into the profile, so the board, the time left and the
hints seen are read back from Storage.xml. The next move is chosen on that board: the swap whose
lines (and the lines that follow from the pieces falling) wash away the most paint, break locks
over paint, make bonus pieces or set them off where paint is. A hint box left open (a new hint, or
a clock that stood still) is sent away with a click beside the board before the move. Runs at a
fixed step and seed play the same way every time, so the script replays the win.

Example (the level 1 win of the field's run tests):
  tools/make-level-script.py --program build-test/Marivel --data data \\
      --profile tests/match3/fixtures/field_profile.xml \\
      --prefix tests/match3/fixtures/level1_prefix.txt --step 50 --origin 248,188 \\
      --out tests/match3/fixtures/level1_win.txt
"""

import argparse
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile

PROFILE_FOLDER = os.path.join("Tornvik Entertainment", "Marivel")
HOLE = -2
EMPTY = -1
# A piece falling in from above whose colour a run cannot know yet.
UNKNOWN = -3
# A bonus piece's colour is its kind + 15.
BONUS_COLOR_BASE = 15
FIRE_CRACKER, BLACK_BOMB, DYNAMITE, NUKE, LIGHTNING = 1, 2, 3, 4, 5
BLAST_RADIUS = {FIRE_CRACKER: 1.0, BLACK_BOMB: math.sqrt(5.0), DYNAMITE: math.sqrt(10.0), NUKE: math.sqrt(17.0)}
# The window's height and the field's centre in the game screen (logical units, y up).
SCREEN_HEIGHT = 600
FIELD_CENTRE = (380, 280)


def board_origin(size_x, size_y, cell=44):
    """Window pixels of the top left corner of a board of that size, centred where the field is."""
    return FIELD_CENTRE[0] - size_x * cell // 2, SCREEN_HEIGHT - FIELD_CENTRE[1] - size_y * cell // 2


class Outcome:
    def __init__(self):
        self.paint = 0          # paint levels washed away
        self.locks_on_paint = 0  # locks broken over painted cells
        self.locks = 0          # other locks broken
        self.cleared = 0        # pieces cleared
        self.bonuses = 0        # bonus pieces made
        self.low = 0.0          # how low on the board the cleared pieces were (more falls after)

    def score(self, weight=1.0):
        return weight * (10.0 * self.paint + 6.0 * self.locks_on_paint + 2.0 * self.locks + self.cleared +
                         12.0 * self.bonuses + self.low)


class Board:
    """One board as the profile holds it: cells[y][x] = [colour, paint, locks]."""

    def __init__(self, cells):
        self.cells = cells
        self.size_y = len(cells)
        self.size_x = len(cells[0]) if cells else 0

    def paint(self):
        return sum(c[1] for row in self.cells for c in row)

    def has_empty(self):
        return any(c[0] == EMPTY for row in self.cells for c in row)

    def movable(self, x, y):
        color, _, locks = self.cells[y][x]
        return color >= 0 and locks == 0

    def outcomes(self):
        """Every swap the game takes (a line through a swapped cell, or a bonus piece) with its
        outcome, as (outcome, a, b) with a the pressed cell and b the one it is dragged to."""
        found = []
        for y in range(self.size_y):
            for x in range(self.size_x):
                for nx, ny in ((x + 1, y), (x, y + 1)):
                    if nx >= self.size_x or ny >= self.size_y:
                        continue
                    if not (self.movable(x, y) and self.movable(nx, ny)):
                        continue
                    if self.cells[y][x][0] == self.cells[ny][nx][0]:
                        continue
                    outcome = Play(self).swap((x, y), (nx, ny))
                    if outcome is not None:
                        found.append((outcome, (x, y), (nx, ny)))
        return found

    def moves(self):
        """The swaps best first, as (score, a, b)."""
        scored = [(outcome.score(), a, b, outcome) for outcome, a, b in self.outcomes()]
        scored.sort(key=lambda m: -m[0])
        if scored and scored[0][3].paint == 0 and self.paint() > 0:
            scored = self.stirred(scored)
        return [(s, a, b) for s, a, b, _ in scored]

    def stirred(self, scored, looked_at=12):
        """When no swap washes paint: the swaps that bring new pieces onto painted cells (lines at or
        below them in their column) and leave the most paint within one more swap, best first."""
        painted = [(x, y) for y in range(self.size_y) for x in range(self.size_x) if self.cells[y][x][1] > 0]
        ranked = []
        for s, a, b, outcome in scored:
            stir = sum(1 for (px, py) in painted for (cx, cy) in outcome.cells if cx == px and cy >= py)
            ranked.append((s + 2.0 * stir, a, b, outcome))
        ranked.sort(key=lambda m: -m[0])
        best = []
        for s, a, b, outcome in ranked[:looked_at]:
            follow = [o.score() for o, _, _ in Board(outcome.board).outcomes()]
            best.append((s + 0.5 * max(follow, default=0.0), a, b, outcome))
        best.sort(key=lambda m: -m[0])
        return best + ranked[looked_at:]


class Play:
    """The rules applied to a copy of a board: swap, lines, bonus pieces, blasts and falls. Pieces
    that fall in from above are unknown and make no line."""

    def __init__(self, board):
        self.g = [[list(c) for c in row] for row in board.cells]
        self.sx, self.sy = board.size_x, board.size_y
        self.outcome = Outcome()
        self.outcome.cells = []
        self.weight = 1.0

    def inside(self, x, y):
        return 0 <= x < self.sx and 0 <= y < self.sy and self.g[y][x][0] != HOLE

    def swap(self, a, b):
        """The outcome of swapping a and b, with the board it leaves (unknown pieces as UNKNOWN); None
        when the game would swap them back."""
        (ax, ay), (bx, by) = a, b
        g = self.g
        g[ay][ax][0], g[by][bx][0] = g[by][bx][0], g[ay][ax][0]
        bonus = [p for p in (a, b) if g[p[1]][p[0]][0] > BONUS_COLOR_BASE]
        if bonus:
            for (x, y) in bonus:
                if g[y][x][0] <= BONUS_COLOR_BASE:
                    continue  # set off by the other one
                kind = g[y][x][0] - BONUS_COLOR_BASE
                other = b if (x, y) == a else a
                partner = g[other[1]][other[0]][0]
                self.detonate(x, y, kind, partner if 0 <= partner <= BONUS_COLOR_BASE else -2)
        else:
            groups = self.matches()
            if not any(a in group or b in group for group in groups):
                return None
            self.clear_matches(groups, (a, b))
        self.cascade()
        self.outcome.board = self.g
        return self.outcome

    def matches(self):
        """The lines of three or more of one colour, joined where they cross or touch end to end."""
        g = self.g
        runs = []
        for y in range(self.sy):
            for x in range(self.sx):
                c = g[y][x][0]
                if c < 0 or c > BONUS_COLOR_BASE:
                    continue
                for dx, dy in ((1, 0), (0, 1)):
                    px, py = x - dx, y - dy
                    if self.inside(px, py) and g[py][px][0] == c:
                        continue
                    run = [(x, y)]
                    nx, ny = x + dx, y + dy
                    while self.inside(nx, ny) and g[ny][nx][0] == c:
                        run.append((nx, ny))
                        nx, ny = nx + dx, ny + dy
                    if len(run) >= 3:
                        runs.append(set(run))
        groups = []
        for run in runs:
            joined = [group for group in groups if group & run]
            for group in joined:
                groups.remove(group)
                run |= group
            groups.append(run)
        return groups

    def clear_matches(self, groups, swapped):
        for group in groups:
            bonus_cell = None
            if len(group) >= 5 and self.paint_left():
                through = [p for p in swapped if p in group]
                kind = FIRE_CRACKER
                if through:
                    bonus_cell = through[0]
                    kind = BLACK_BOMB if len(group) == 5 else DYNAMITE if len(group) == 6 else NUKE
                else:
                    bonus_cell = sorted(group)[0]
                self.outcome.bonuses += 1
            for (x, y) in sorted(group):
                self.clear(x, y)
            if bonus_cell is not None:
                x, y = bonus_cell
                if self.g[y][x][2] <= 1:
                    self.g[y][x][0] = kind + BONUS_COLOR_BASE

    def paint_left(self):
        return any(c[1] > 0 for row in self.g for c in row)

    def clear(self, x, y):
        cell = self.g[y][x]
        if cell[0] == HOLE:
            return
        o = self.outcome
        if cell[2] > 0:
            cell[2] -= 1
            if cell[1] > 0:
                o.locks_on_paint += self.weight
            else:
                o.locks += self.weight
            return
        if cell[1] > 0:
            cell[1] -= 1
            o.paint += self.weight
        if cell[0] == EMPTY:
            return
        color = cell[0]
        cell[0] = EMPTY
        o.cleared += self.weight
        o.low += self.weight * (y + 1) / self.sy
        o.cells.append((x, y))
        if color > BONUS_COLOR_BASE:
            self.detonate(x, y, color - BONUS_COLOR_BASE, -2)

    def detonate(self, x, y, kind, color):
        if kind == LIGHTNING:
            self.g[y][x][0] = EMPTY
            self.outcome.cleared += 1
            if color >= 0:
                for j in range(self.sy):
                    for i in range(self.sx):
                        if self.g[j][i][0] == color:
                            self.clear(i, j)
            return
        if self.g[y][x][0] > BONUS_COLOR_BASE:
            self.g[y][x][0] = EMPTY
        self.clear(x, y)
        radius = BLAST_RADIUS[kind]
        reach = int(radius)
        for j in range(y - reach, y + reach + 1):
            for i in range(x - reach, x + reach + 1):
                if (i, j) != (x, y) and self.inside(i, j) and math.hypot(i - x, j - y) <= radius:
                    self.clear(i, j)

    def fall(self):
        """Pieces fall straight down to the next hole, lock or resting piece; what comes in from
        above is unknown."""
        g = self.g
        for x in range(self.sx):
            y = self.sy - 1
            while y >= 0:
                # One stretch of the column between fixed cells (holes and locked pieces).
                bottom = y
                while y >= 0 and g[y][x][0] != HOLE and g[y][x][2] == 0:
                    y -= 1
                stretch = list(range(y + 1, bottom + 1))
                pieces = [g[j][x][0] for j in stretch if g[j][x][0] != EMPTY]
                fill = [UNKNOWN] * (len(stretch) - len(pieces)) + pieces
                for j, c in zip(stretch, fill):
                    g[j][x][0] = c
                y -= 1

    def cascade(self):
        for _ in range(6):
            self.fall()
            groups = self.matches()
            if not groups:
                return
            self.weight *= 0.8
            self.clear_matches(groups, ())


def stored_int(stored, name):
    m = re.search(r'<Variable name="%s" type="int" value="(-?\d+)"/>' % re.escape(name), stored)
    return int(m.group(1)) if m else None


def stored_hints(stored):
    """The hint boxes a profile has seen."""
    return set(re.findall(r'<Variable name="(\w+_hint)" type="bool" value="true"/>', stored))


def field_time_left(stored):
    m = re.search(r'<Field [^>]*levelTimeCounter="([-+.0-9e]+)', stored)
    return float(m.group(1)) if m else None


def read_board(stored):
    field = re.search(r"<Field [^>]*>(.*?)</Field>", stored, re.S)
    if not field:
        return None
    rows = []
    for line in re.findall(r"<Line>(.*?)</Line>", field.group(1), re.S):
        row = []
        for cell in re.findall(r"<Cell ([^>]*)/>", line):
            attrs = dict(re.findall(r'(\w+)="([^"]*)"', cell))
            row.append([int(attrs["color"]), int(attrs.get("painted", 0)), int(attrs.get("locked", 0))])
        rows.append(row)
    return Board(rows)


class Game:
    """Runs the game headless on a copy of the data folder, from a fresh copy of a profile each time."""

    def __init__(self, program, data, profile, home_profile, step, seed, dev=False):
        self.program = os.path.abspath(program)
        self.source_data = data
        self.profile = profile
        self.home_profile = home_profile
        self.step = step
        self.seed = seed
        self.work = tempfile.mkdtemp(prefix="level-script-")
        self.data = os.path.join(self.work, "data")
        self.home = os.path.join(self.work, "home")
        self.runs = 0
        shutil.copytree(data, self.data)
        if dev:
            settings = os.path.join(self.data, "settings.ini")
            with open(settings) as f:
                text = f.read()
            with open(settings, "w") as f:
                f.write(text.replace("dev=false", "dev=true"))
        self.seed_storage = os.path.join(self.work, "seed-storage.xml")
        shutil.copyfile(os.path.join(self.data, "Storage.xml"), self.seed_storage)

    def close(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def folder(self):
        return os.path.join(self.home, PROFILE_FOLDER)

    def run(self, events, frames):
        """Runs the game to that frame and gives the stored profile text."""
        self.runs += 1
        shutil.rmtree(self.home, ignore_errors=True)
        shutil.copyfile(self.seed_storage, os.path.join(self.data, "Storage.xml"))
        if self.profile:
            if self.home_profile:
                os.makedirs(self.folder())
                shutil.copyfile(self.profile, os.path.join(self.folder(), "Storage.xml"))
            else:
                shutil.copyfile(self.profile, os.path.join(self.data, "Storage.xml"))
        script = os.path.join(self.work, "events.txt")
        with open(script, "w") as f:
            f.write(events)
        env = dict(os.environ, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy", XDG_DATA_HOME=self.home,
                   ASAN_OPTIONS="detect_leaks=0")
        command = [self.program, "--fixed-step", str(self.step), "--frames", str(frames), "--events", script]
        if self.seed is not None:
            command += ["--seed", str(self.seed)]
        subprocess.run(command, cwd=self.data, env=env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        with open(os.path.join(self.folder(), "Storage.xml"), encoding="latin-1") as f:
            return f.read()

    def log(self):
        with open(os.path.join(self.folder(), "log.htm"), encoding="latin-1") as f:
            return f.read()


def last_frame(events):
    frames = [int(line.split()[0]) for line in events.splitlines() if line.strip() and not line.startswith("#")]
    return max(frames) if frames else 0


def click_events(frame, x, y):
    return "%d move %d %d\n%d move %d %d\n%d down\n%d up\n" % (frame, x, y, frame + 1, x + 1, y, frame + 2,
                                                              frame + 3)


def swap_events(frame, origin, cell, a, b):
    """A drag from the centre of cell a half a cell towards cell b (six frames)."""
    ox, oy = origin
    half = cell // 2
    ax, ay = ox + a[0] * cell + half, oy + a[1] * cell + half
    dx, dy = (b[0] - a[0]) * half, (b[1] - a[1]) * half
    return ("%d move %d %d\n%d move %d %d\n%d down\n%d move %d %d\n%d move %d %d\n%d up\n" %
            (frame, ax, ay, frame + 1, ax + 1, ay, frame + 2, frame + 3, ax + dx // 2, ay + dy // 2,
             frame + 4, ax + dx, ay + dy, frame + 5))


class Pace:
    """How the player moves: frames from one move to the next, the window point clicked to send a
    hint box away (beside the board; None: never) and the frames from that click to the move."""

    def __init__(self, wait, dismiss=None, dismiss_frames=6, always_dismiss=False, cell=44):
        self.wait = wait
        self.dismiss = dismiss
        self.dismiss_frames = dismiss_frames
        self.always_dismiss = always_dismiss
        self.cell = cell


class LevelResult:
    def __init__(self):
        self.moves = 0
        self.won_by = None      # the frame by which the last paint was gone
        self.time_left = None   # level seconds left at the last move
        self.level_time = None


def play_level(game, events, frame, origin, pace, max_moves, report=print):
    """Plays the running level from the frame on (the script so far in events) until its paint is gone.
    Gives the events with the moves, the frame then and the result; exits when the level is lost or
    not won after max_moves."""
    result = LevelResult()
    stored = game.run(events, frame)
    # A fresh profile has no count yet; a won level may write it as 0.
    lost = stored_int(stored, "Levels lost") or 0
    seen = stored_hints(stored)
    last_clock = None
    for move in range(max_moves):
        board = read_board(stored)
        if board is None and result.moves == 0:
            sys.exit("no running level at frame %d" % frame)
        if board is None:
            if (stored_int(stored, "Levels lost") or 0) != lost:
                sys.exit("the level ran out of time at frame %d after %d moves" % (frame, result.moves))
            result.won_by = frame
            return events, frame, result
        if board.has_empty():
            # The pieces are still falling: look again a little later.
            frame += max(1, pace.wait // 4)
            stored = game.run(events, frame)
            if read_board(stored) is None:
                continue
            board = read_board(stored)
        clock = field_time_left(stored)
        if result.level_time is None:
            m = re.search(r'<Field [^>]*levelTime="(\d+)"', stored)
            result.level_time = int(m.group(1)) if m else None
        hints = stored_hints(stored)
        open_box = bool(hints - seen) or (last_clock is not None and clock == last_clock)
        seen = hints
        last_clock = clock
        result.time_left = clock
        moves = board.moves()
        add = ""
        at = frame
        if pace.dismiss and (open_box or pace.always_dismiss):
            add += click_events(at, *pace.dismiss)
            at += pace.dismiss_frames
        if moves:
            _, a, b = moves[0]
            add += swap_events(at, origin, pace.cell, a, b)
            result.moves += 1
            report("move %d at frame %d: %s-%s (paint %d, %.1f s left)" % (result.moves, at, a, b, board.paint(),
                                                                          clock or 0.0))
        else:
            report("no move at frame %d: waiting" % frame)
        events += add
        frame = at + pace.wait
        stored = game.run(events, frame)
    sys.exit("not won after %d moves" % max_moves)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the game program")
    parser.add_argument("--data", required=True, help="the game's data folder")
    parser.add_argument("--profile", required=True, help="Storage.xml the runs start from")
    parser.add_argument("--home", action="store_true",
                        help="the profile is the player's own (in the profile folder), not the data folder's seed")
    parser.add_argument("--dev", action="store_true", help="dev=true in the copied settings.ini")
    parser.add_argument("--dismiss", help="window pixels X,Y clicked to send a hint box away before a move")
    parser.add_argument("--always-dismiss", action="store_true", help="click there before every move")
    parser.add_argument("--dismiss-frames", type=int, default=10, help="frames from that click to the move")
    parser.add_argument("--prefix", required=True, help="the events up to and with the level's first press")
    parser.add_argument("--step", type=int, default=50, help="the fixed step in milliseconds")
    parser.add_argument("--seed", type=int, help="the program's --seed")
    parser.add_argument("--origin", required=True, help="window pixels X,Y of the board's top left corner")
    parser.add_argument("--cell", type=int, default=44, help="cell size in window pixels")
    parser.add_argument("--wait", type=int, default=30, help="frames from one move to the next")
    parser.add_argument("--moves", type=int, default=60, help="most moves before giving up")
    parser.add_argument("--win-frames", type=int, default=100,
                        help="frames a win may take before the profile moves on")
    parser.add_argument("--out", required=True, help="the script to write")
    args = parser.parse_args()
    origin = tuple(int(v) for v in args.origin.split(","))
    dismiss = tuple(int(v) for v in args.dismiss.split(",")) if args.dismiss else None

    with open(args.prefix) as f:
        prefix = f.read()
    game = Game(args.program, args.data, args.profile, args.home, args.step, args.seed, args.dev)
    try:
        pace = Pace(args.wait, dismiss, args.dismiss_frames, args.always_dismiss, args.cell)
        level = stored_int(game.run(prefix, last_frame(prefix) + 1), "LevelNumber")
        events, frame, result = play_level(game, prefix, last_frame(prefix) + args.wait, origin, pace, args.moves)
        stored = game.run(events, frame + args.win_frames)
        if stored_int(stored, "LevelNumber") == level:
            sys.exit("the paint is gone at frame %d but the level is not won %d frames later" %
                     (frame, args.win_frames))
        with open(args.out, "w") as f:
            f.write("# Made by tools/make-level-script.py %s\n"
                    "# Remake it when the level, the way to it or the game's random draws change.\n"
                    % " ".join(sys.argv[1:]))
            f.write(events)
        print("%d runs; %d moves; the level is won by frame %d" % (game.runs, result.moves, frame))
    finally:
        game.close()


if __name__ == "__main__":
    main()
