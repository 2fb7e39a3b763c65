#!/usr/bin/env python3
"""Plays the whole campaign of data/PlLevels.xml by real moves, level after level from a fresh
profile, and writes one input script a level.

Each level is one run of the game program: it starts at the main menu on the profile the run of the
level before left behind (the first on the data folder's seed profile, whose name prompt it
answers), presses Play, plays the level with tools/make-level-script.py's player (every hint box
sent away with a click beside the board), clicks through the level's statistics to the aquarium
and closes the window. The scripts thus replay the campaign in order: run level N's script on the
profile that level N - 1's script left. Remake them when a level, the way through the menus or the
game's random draws change; the table printed at the end gives each level's board and how much
time the player had left.

Example (and the check that the scripts still win, level after level):
  tools/make-campaign-scripts.py --program build-release/Marivel --out tests/game/fixtures/campaign
  tools/make-campaign-scripts.py --program build-release/Marivel --out tests/game/fixtures/campaign --replay
"""

import argparse
import importlib.util
import os
import re
import shutil
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location("level_script", os.path.join(HERE, "make-level-script.py"))
player = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(player)

# Window pixels: the main menu's Play button, a point beside every board (bottom left, clear of the
# timer and of the pause button) that sends hint boxes away, and the statistics' click.
PLAY = (400, 275)
ASIDE = (15, 585)
STATISTICS = (400, 355)
PLAYER_NAME = "Ann"


def read_levels(data):
    with open(os.path.join(data, "PlLevels.xml"), encoding="latin-1") as f:
        text = f.read()
    levels = []
    for m in re.finditer(r'<Level ([^>]*)>(.*?)</Level>', text, re.S):
        attrs = dict(re.findall(r'(\w+)="([^"]*)"', m.group(1)))
        lines = re.findall(r"<Line>(.*?)</Line>", m.group(2))
        levels.append({"id": attrs["id"], "time": int(attrs["time"]), "lines": lines})
    return levels


def describe(level):
    cells = "".join(level["lines"]).lower()
    return {
        "size": "%d x %d" % (len(level["lines"][0]), len(level["lines"])),
        "silver": sum(cells.count(c) for c in "def"),
        "gold": sum(cells.count(c) for c in "ghi"),
        "locks": sum(cells.count(c) for c in "beh"),
        "double": sum(cells.count(c) for c in "cfi"),
    }


def next_level(stored):
    m = re.search(r'<Variable name="Game field" type="xml">\s*<Field>\s*<level name="([^"]*)"', stored)
    return m.group(1) if m else None


def stored_float(stored, name):
    m = re.search(r'<Variable name="%s" type="float" value="([-+.0-9e]+)' % re.escape(name), stored)
    return float(m.group(1)) if m else 0.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the game program (a Release build plays fastest)")
    parser.add_argument("--data", default=os.path.join(HERE, "..", "data"), help="the game's data folder")
    parser.add_argument("--out", required=True, help="the folder for level01.txt, level02.txt, ...")
    parser.add_argument("--step", type=int, default=100, help="the fixed step in milliseconds")
    parser.add_argument("--seed", type=int, default=5, help="the program's --seed")
    parser.add_argument("--wait", type=int, default=15, help="frames from one move to the next")
    parser.add_argument("--moves", type=int, default=150, help="most moves a level before giving up")
    parser.add_argument("--levels", type=int, default=0, help="play only the first N levels (0: all)")
    parser.add_argument("--replay", action="store_true",
                        help="only replay the scripts in --out in order and check that each wins its level")
    args = parser.parse_args()
    if args.replay:
        replay(args)
        return

    levels = read_levels(args.data)
    if args.levels:
        levels = levels[:args.levels]
    os.makedirs(args.out, exist_ok=True)
    chain = tempfile.mkdtemp(prefix="campaign-")
    profile = None
    rows = []
    second = 1000 // args.step
    try:
        for number, level in enumerate(levels, 1):
            game = player.Game(args.program, args.data, profile, True, args.step, args.seed)
            try:
                rows.append(play(args, game, number, level, second))
                profile = os.path.join(chain, "after-%02d.xml" % number)
                shutil.copyfile(os.path.join(game.folder(), "Storage.xml"), profile)
            finally:
                game.close()
    finally:
        shutil.rmtree(chain, ignore_errors=True)
    print("level | size | silver | gold | locks | double locks | time | clock factor | moves | played | "
          "time left | hints")
    for r in rows:
        print("%(number)d | %(size)s | %(silver)d | %(gold)d | %(locks)d | %(double)d | %(time)d s | %(factor).2f | "
              "%(moves)d | %(played).1f s | %(left).1f s (%(percent)d %%) | %(hints)s" % r)


def replay(args):
    """Runs the scripts level01.txt, level02.txt, ... in order, each on the profile the one before left."""
    names = sorted(n for n in os.listdir(args.out) if re.match(r"level\d+\.txt$", n))
    if not names:
        sys.exit("no level scripts in %s" % args.out)
    chain = tempfile.mkdtemp(prefix="campaign-")
    profile = None
    try:
        for name in names:
            with open(os.path.join(args.out, name)) as f:
                events = f.read()
            game = player.Game(args.program, args.data, profile, True, args.step, args.seed)
            try:
                stored = game.run(events, player.last_frame(events) + 10)
                if "ERROR" in game.log():
                    sys.exit("%s: the log has errors:\n%s" % (name, game.log()))
                number = player.stored_int(stored, "LevelNumber")
                print("%s: level number %s, money %s" % (name, number, player.stored_int(stored, "Money")))
                if number != int(re.search(r"\d+", name).group(0)) + 1:
                    sys.exit("%s does not win its level" % name)
                profile = os.path.join(chain, name + ".xml")
                shutil.copyfile(os.path.join(game.folder(), "Storage.xml"), profile)
            finally:
                game.close()
    finally:
        shutil.rmtree(chain, ignore_errors=True)


def play(args, game, number, level, second):
    """Plays one level and writes its script; gives its row of the table."""
    size_x, size_y = len(level["lines"][0]), len(level["lines"])
    origin = player.board_origin(size_x, size_y)
    centre = (origin[0] + (size_x // 2) * 44 + 22, origin[1] + (size_y // 2) * 44 + 22)
    events = ""
    frame = 0
    if number == 1:
        # The first start asks for the player's name.
        events += "%d text %s\n%d key 13\n" % (second * 3 // 2, PLAYER_NAME, second * 3 // 2 + 2)
        frame = second * 3
    # Play once the menu's buttons have come in; the first press on the board starts the clock (and
    # on level 1 opens the first hint), a click beside the board sends a box away, and a second press
    # on the same piece lets it go.
    events += player.click_events(frame + second * 6 // 5, *PLAY)
    frame += second * 6 // 5 + second * 5 // 2
    events += player.click_events(frame, *centre)
    events += player.click_events(frame + second * 6 // 5, *ASIDE)
    events += player.click_events(frame + second * 2, *centre)
    frame += second * 2 + 4
    start = frame
    before = game.run(events, frame)
    level_number = player.stored_int(before, "LevelNumber")
    factor = 0.9 ** int(stored_float(before, "Time Multiplier"))
    money = player.stored_int(before, "Money") or 0
    pace = player.Pace(args.wait, ASIDE, dismiss_frames=second * 6 // 10)
    print("level %d (%s, %s)" % (number, level["id"], describe(level)["size"]))
    events, frame, result = player.play_level(game, events, frame + args.wait, origin, pace, args.moves,
                                              report=lambda text: print("  " + text))
    # The win completes once the field stands still; then the statistics come in.
    done = frame
    while player.stored_int(game.run(events, done), "LevelNumber") == level_number:
        done += second
        if done > frame + 20 * second:
            sys.exit("level %d: the paint is gone at frame %d but the level is not won" % (number, frame))
    events += player.click_events(done + second * 5 // 2, *STATISTICS)
    events += player.click_events(done + second * 4, *STATISTICS)
    events += "%d close\n" % (done + second * 7)
    stored = game.run(events, done + second * 8)
    if player.stored_int(stored, "LevelNumber") != level_number + 1:
        sys.exit("level %d: the profile does not move on" % number)
    print("  next: %s, lap %s" % (next_level(stored), player.stored_int(stored, "Lap Number")))
    if "ERROR" in game.log():
        sys.exit("level %d: the log has errors:\n%s" % (number, game.log()))
    earned = (player.stored_int(stored, "Money") or 0) - money
    seen = set()
    if game.profile:
        with open(game.profile, encoding="latin-1") as f:
            seen = player.stored_hints(f.read())
    hints = sorted(player.stored_hints(stored) - seen)
    percent = player.stored_int(stored, "TimeCountInt") or 0
    name = os.path.join(args.out, "level%02d.txt" % number)
    with open(name, "w") as f:
        f.write("# Level %d (%s) by real moves: made by tools/make-campaign-scripts.py --step %d --seed %d --wait %d\n"
                "# Run it at that step and seed on the profile the script of the level before left.\n"
                % (number, level["id"], args.step, args.seed, args.wait))
        f.write(events)
    print("  won in %d moves, %.1f s of play; %d %% of the time left; %d earned; %d runs; hints %s" %
          (result.moves, (frame - start) / second, percent, earned, game.runs, " ".join(hints)))
    row = {"number": number, "time": level["time"], "moves": result.moves, "percent": percent,
           "left": level["time"] * percent / 100.0, "factor": factor, "hints": " ".join(hints),
           "played": (frame - start) / second}
    row.update(describe(level))
    return row


if __name__ == "__main__":
    main()
