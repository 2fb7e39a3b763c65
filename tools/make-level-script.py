#!/usr/bin/env python3
"""Makes an input script that wins a match-three level in a headless run of the game.

The game is run again and again on a copy of the data folder, each time with the script so far
and a frame count that ends the run after the last move has settled. Closing the program saves
the running level into the profile, so the board of each run is read back from Storage.xml. The
next move is the swap that clears the most painted cells on that board; it is kept when the next
run shows less paint (or the level won), otherwise the next best swap is tried. Runs at a fixed
step and seed play the same way every time, so the script replays the win.

Example (the level 1 win of the field's run tests):
  tools/make-level-script.py --program build-test/Marivel --data data \\
      --profile tests/match3/fixtures/field_profile.xml \\
      --prefix tests/match3/fixtures/level1_prefix.txt --step 50 --origin 248,188 \\
      --out tests/match3/fixtures/level1_win.txt
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

PROFILE_FOLDER = os.path.join("Tornvik Entertainment", "Marivel")
# A bonus piece's colour is its kind + 15; such a piece goes off when swapped.
BONUS_COLOR_BASE = 15


class Board:
    def __init__(self, cells):
        # cells[y][x] = (color, painted, locks)
        self.cells = cells
        self.size_y = len(cells)
        self.size_x = len(cells[0]) if cells else 0

    def paint(self):
        return sum(p for row in self.cells for (_, p, _) in row)

    def movable(self, x, y):
        color, _, locks = self.cells[y][x]
        return color >= 0 and locks == 0

    def matched_after_swap(self, a, b):
        """The cells in lines of three or more once a and b change places."""
        colors = [[c for (c, _, _) in row] for row in self.cells]
        (ax, ay), (bx, by) = a, b
        colors[ay][ax], colors[by][bx] = colors[by][bx], colors[ay][ax]
        matched = set()
        for y in range(self.size_y):
            for x in range(self.size_x):
                c = colors[y][x]
                if c < 0 or c >= BONUS_COLOR_BASE:
                    continue
                for dx, dy in ((1, 0), (0, 1)):
                    run = [(x, y)]
                    nx, ny = x + dx, y + dy
                    while nx < self.size_x and ny < self.size_y and colors[ny][nx] == c:
                        run.append((nx, ny))
                        nx, ny = nx + dx, ny + dy
                    if len(run) >= 3:
                        matched.update(run)
        return matched

    def score(self, a, b):
        """Painted cells a swap clears (ten each) plus the cells it clears; 0 for no match."""
        bonus = [p for p in (a, b) if self.cells[p[1]][p[0]][0] >= BONUS_COLOR_BASE]
        if bonus:
            bx, by = bonus[0]
            hit = [(x, y) for y in range(max(0, by - 2), min(self.size_y, by + 3))
                   for x in range(max(0, bx - 2), min(self.size_x, bx + 3))]
        else:
            hit = self.matched_after_swap(a, b)
        if not hit:
            return 0
        return sum(10 * self.cells[y][x][1] + 1 for (x, y) in hit)

    def stir(self, a, b):
        """How much a swap moves pieces onto painted cells: cleared cells at or below a painted cell
        of the same column count three, those in a neighbouring column one."""
        painted = [(x, y) for y in range(self.size_y) for x in range(self.size_x) if self.cells[y][x][1] > 0]
        total = 0
        for (x, y) in self.matched_after_swap(a, b):
            for (px, py) in painted:
                if x == px and y >= py:
                    total += 3
                elif abs(x - px) == 1 and y >= py - 1:
                    total += 1
        return total

    def moves(self):
        """Every swap of two movable neighbours that clears something, best first."""
        found = []
        for y in range(self.size_y):
            for x in range(self.size_x):
                for nx, ny in ((x + 1, y), (x, y + 1)):
                    if nx >= self.size_x or ny >= self.size_y:
                        continue
                    if not (self.movable(x, y) and self.movable(nx, ny)):
                        continue
                    s = self.score((x, y), (nx, ny))
                    if s > 0:
                        found.append((s, (x, y), (nx, ny)))
        found.sort(key=lambda m: -m[0])
        return found


def stored_int(stored, name):
    m = re.search(r'<Variable name="%s" type="int" value="(-?\d+)"/>' % re.escape(name), stored)
    return int(m.group(1)) if m else None


def read_board(stored):
    field = re.search(r"<Field [^>]*>(.*?)</Field>", stored, re.S)
    if not field:
        return None
    rows = []
    for line in re.findall(r"<Line>(.*?)</Line>", field.group(1), re.S):
        row = []
        for cell in re.findall(r"<Cell ([^>]*)/>", line):
            attrs = dict(re.findall(r'(\w+)="([^"]*)"', cell))
            row.append((int(attrs["color"]), int(attrs.get("painted", 0)), int(attrs.get("locked", 0))))
        rows.append(row)
    return Board(rows)


class Game:
    def __init__(self, args):
        self.args = args
        self.work = tempfile.mkdtemp(prefix="level-script-")
        self.runs = 0

    def run(self, events, frames):
        """Runs the game from a fresh profile and gives the stored profile text."""
        self.runs += 1
        data = os.path.join(self.work, "data")
        home = os.path.join(self.work, "home")
        for folder in (data, home):
            shutil.rmtree(folder, ignore_errors=True)
        shutil.copytree(self.args.data, data)
        if self.args.dev:
            settings = os.path.join(data, "settings.ini")
            with open(settings) as f:
                text = f.read()
            with open(settings, "w") as f:
                f.write(text.replace("dev=false", "dev=true"))
        if self.args.home:
            os.makedirs(os.path.join(home, PROFILE_FOLDER))
            shutil.copyfile(self.args.profile, os.path.join(home, PROFILE_FOLDER, "Storage.xml"))
        else:
            shutil.copyfile(self.args.profile, os.path.join(data, "Storage.xml"))
        script = os.path.join(self.work, "events.txt")
        with open(script, "w") as f:
            f.write(events)
        env = dict(os.environ, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy", XDG_DATA_HOME=home,
                   ASAN_OPTIONS="detect_leaks=0")
        command = [os.path.abspath(self.args.program), "--fixed-step", str(self.args.step), "--frames",
                   str(frames), "--events", script]
        if self.args.seed is not None:
            command += ["--seed", str(self.args.seed)]
        subprocess.run(command, cwd=data, env=env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        with open(os.path.join(home, PROFILE_FOLDER, "Storage.xml"), encoding="latin-1") as f:
            return f.read()


def last_frame(events):
    frames = [int(line.split()[0]) for line in events.splitlines() if line.strip() and not line.startswith("#")]
    return max(frames) if frames else 0


def swap_events(args, frame, a, b):
    """A drag from the centre of cell a half a cell towards cell b, after a click that sends an open
    hint box away when asked for."""
    text = ""
    if args.dismiss:
        x, y = args.dismiss
        text = "%d move %d %d\n%d move %d %d\n%d down\n%d up\n" % (frame, x, y, frame + 1, x + 1, y, frame + 2,
                                                                frame + 3)
        frame += args.dismiss_frames
    ox, oy = args.origin
    half = args.cell // 2
    ax, ay = ox + a[0] * args.cell + half, oy + a[1] * args.cell + half
    dx, dy = (b[0] - a[0]) * half, (b[1] - a[1]) * half
    return text + ("%d move %d %d\n%d move %d %d\n%d down\n%d move %d %d\n%d move %d %d\n%d up\n" %
            (frame, ax, ay, frame + 1, ax + 1, ay, frame + 2, frame + 3, ax + dx // 2, ay + dy // 2,
             frame + 4, ax + dx, ay + dy, frame + 5))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the game program")
    parser.add_argument("--data", required=True, help="the game's data folder")
    parser.add_argument("--profile", required=True, help="Storage.xml the runs start from")
    parser.add_argument("--home", action="store_true",
                        help="the profile is the player's own (in the profile folder), not the data folder's seed")
    parser.add_argument("--dev", action="store_true", help="dev=true in the copied settings.ini")
    parser.add_argument("--dismiss", help="window pixels X,Y clicked before each move, to close hint boxes")
    parser.add_argument("--dismiss-frames", type=int, default=10, help="frames from that click to the move")
    parser.add_argument("--prefix", required=True, help="the events up to and with the level's first press")
    parser.add_argument("--step", type=int, default=50, help="the fixed step in milliseconds")
    parser.add_argument("--seed", type=int, help="the program's --seed")
    parser.add_argument("--origin", required=True,
                        help="window pixels X,Y of the board's top left corner")
    parser.add_argument("--cell", type=int, default=44, help="cell size in window pixels")
    parser.add_argument("--wait", type=int, default=30, help="frames from one move to the next")
    parser.add_argument("--tries", type=int, default=6, help="swaps tried for each move")
    parser.add_argument("--moves", type=int, default=40, help="most moves before giving up")
    parser.add_argument("--win-frames", type=int, default=100,
                        help="frames a win may take before the profile moves on")
    parser.add_argument("--out", required=True, help="the script to write")
    args = parser.parse_args()
    args.origin = tuple(int(v) for v in args.origin.split(","))
    if args.dismiss:
        args.dismiss = tuple(int(v) for v in args.dismiss.split(","))

    with open(args.prefix) as f:
        prefix = f.read()
    game = Game(args)
    try:
        play(args, game, prefix)
    finally:
        shutil.rmtree(game.work, ignore_errors=True)


def play(args, game, prefix):
    """Plays from the prefix on until the level is won, then writes the script."""
    events = prefix
    frame, stored = settle(game, events, last_frame(prefix) + args.wait, args.wait)
    level = stored_int(stored, "LevelNumber")
    for move in range(args.moves):
        board = read_board(stored)
        if board is None:
            sys.exit("no running level in the profile after frame %d" % frame)
        paint = board.paint()
        moves = board.moves()
        if not moves:
            sys.exit("no move on the board at frame %d" % frame)
        chosen = None
        for _, a, b in moves[:args.tries]:
            tried = events + swap_events(args, frame, a, b)
            after = game.run(tried, frame + args.wait)
            won_by = frame + args.wait
            if read_board(after) is None:
                # The win is under way: the profile moves on when it completes.
                won_by += args.win_frames
                after = game.run(tried, won_by)
            if stored_int(after, "LevelNumber") != level:
                print("move %d at frame %d: %s-%s wins" % (move + 1, frame, a, b))
                with open(args.out, "w") as f:
                    f.write("# Made by tools/make-level-script.py %s\n"
                            "# Remake it when the level, the way to it or the field's random draws change.\n"
                            % " ".join(sys.argv[1:]))
                    f.write(tried)
                print("%d runs; the level is won by frame %d" % (game.runs, won_by))
                return
            next_board = read_board(after)
            if next_board is not None and next_board.paint() < paint:
                chosen = (tried, a, b)
                break
        if chosen is None:
            # No swap clears paint: stir the pieces under and beside the painted cells.
            _, a, b = max(moves, key=lambda m: board.stir(m[1], m[2]))
            chosen = (events + swap_events(args, frame, a, b), a, b)
        events, a, b = chosen
        frame, stored = settle(game, events, frame + args.wait, args.wait)
        settled = read_board(stored)
        left = settled.paint() if settled is not None else 0
        print("move %d: %s-%s, paint %d -> %d, settled at frame %d" % (move + 1, a, b, paint, left, frame))
    sys.exit("not won after %d moves" % args.moves)


def settle(game, events, frame, wait):
    """The first frame from frame on (in steps of a third of wait) at which the board stands still,
    and the profile then."""
    step = max(1, wait // 3)
    stored = game.run(events, frame)
    for _ in range(20):
        later = game.run(events, frame + step)
        now, then = read_board(stored), read_board(later)
        if now is None or then is None or now.cells == then.cells:
            return frame, stored
        frame, stored = frame + step, later
    sys.exit("the board never stands still after frame %d" % frame)


if __name__ == "__main__":
    main()
