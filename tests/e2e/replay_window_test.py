#!/usr/bin/env python3
"""A game played in the real window is recorded, and its replay proves it.

The real game runs in Xvfb at 1000 frames a second, driven by xdotool. A
player reads the screen with the game stopped (the well, the falling column,
the next one), chooses where and how to drop with a small model of the
matching rules (most jewels cleared, chains first, a low stack), presses
the keys and checks where the column went. Once its model has seen a
level-up and a chain it stacks the middle column until the well overflows,
and types a name into the table.

Then stakko-sim must verify the replay the game kept in Replays, and so must
stakko --verify-table. The replay's trace must put every column where the
window showed it come to rest, explode as many jewels as the window saw go,
and hold the level-up and the game over; its own frames must show a chain
(a line made of jewels that fell); and the window's last screens, the
game-over picture sliding over the final well (the trace's) and the name
entry with the typed name, must be the replay's frames pixel for pixel.
(The table that follows is not in the replay: the recording ends there.)
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xharness as xh  # noqa: E402

BLACK = (0, 0, 0)
W, H = xh.GAME_W, xh.GAME_H
COLUMNS, ROWS = 6, 13  # row 0 lies above the well
WELL_X, WELL_Y = 224, 55  # cell (c, r) is drawn at (224 + 32c, 55 + 32r)
SPAWN = 3  # the column every piece appears in
OVER_X = 140  # where the game-over picture slides down
LEVEL_QUOTA = 30  # jewels to clear on level 1

# --------------------------------------------------------------------------
# The matching rules, as the player needs them: a line of three or more alike
# across, down or diagonally explodes, one line per scan (the last one found,
# scanning column by column, top to bottom, the directions in this order),
# the jewels above fall, and the well is scanned again.

DIRECTIONS = [(-1, -1), (-1, 0), (-1, 1), (0, -1), (0, 1), (1, -1), (1, 0), (1, 1)]


def find_line(b):
    found = None
    for x in range(COLUMNS):
        for y in range(1, ROWS):
            k = b[x][y]
            if not k:
                continue
            for dx, dy in DIRECTIONS:
                cells = [(x, y)]
                cx, cy = x + dx, y + dy
                while 0 <= cx < COLUMNS and 1 <= cy < ROWS and b[cx][cy] == k:
                    cells.append((cx, cy))
                    cx, cy = cx + dx, cy + dy
                if len(cells) >= 3:
                    found = cells
                    break
    return found


def made_by_falling(before, after, line):
    """A line is a chain's when a jewel of it was not there before the last
    explosion (the cells that exploded count as changed)."""
    return any(before[x][y] != after[x][y] for x, y in line)


def resolve(b):
    """Explodes lines until none is left; returns (jewels cleared, chains)."""
    cleared = chains = 0
    before = None
    while True:
        line = find_line(b)
        if line is None:
            return cleared, chains
        if before is not None and made_by_falling(before, b, line):
            chains += 1
        cleared += len(line)
        before = [list(col) for col in b]
        for x, y in line:
            before[x][y] = None
            b[x][y] = 0
        for x in range(COLUMNS):
            stack = [k for k in b[x][1:] if k]
            b[x] = [0] * (ROWS - len(stack)) + stack


def height(col):
    return sum(1 for k in col[1:] if k)


def place(b, c, kinds):
    """The well with the column dropped into c, or None for the game over
    (its top jewel would lie above the well)."""
    bottom = ROWS - 1 - height(b[c])
    if bottom <= 2:
        return None
    nb = [list(col) for col in b]
    nb[c][bottom - 2:bottom + 1] = kinds
    return nb


def cycles(kinds):
    """The column after 0, 1 and 2 presses of Up (each moves the jewels up
    one place, the top one to the bottom)."""
    a, b, c = kinds
    return [(a, b, c), (b, c, a), (c, a, b)]


def options(b, kinds):
    """(column, kinds, well after, cleared, chains) for every drop the column
    can reach: a nearly full column on the way blocks it."""
    for c in range(COLUMNS):
        if any(height(b[x]) >= 10 for x in range(min(c, SPAWN), max(c, SPAWN) + 1)):
            continue
        for ks in sorted(set(cycles(kinds))):
            nb = place(b, c, ks)
            if nb is not None:
                yield (c, ks, nb) + resolve(nb)


def evenness(b):
    hs = [height(col) for col in b]
    return -3 * max(hs) - sum(hs) - sum(abs(hs[i] - hs[i + 1]) for i in range(COLUMNS - 1))


def scoring_move(b, piece, following):
    """The drop that clears most over this column and the next, chains
    first, keeping the stack low and even."""
    best = None
    for c, ks, nb, cleared, chains in options(b, piece):
        later = max((c2 + 40 * ch2 + 0.1 * evenness(nb2) for _c, _k, nb2, c2, ch2 in options(nb, following)),
                    default=-1000)
        value = 10 * cleared + 80 * chains + 0.9 * later + evenness(nb)
        if best is None or value > best[0]:
            best = (value, c, ks, nb, cleared, chains)
    if best is None:
        raise xh.Failure("no column can be reached while playing for points")
    return best[1:]


def stacking_move(b, piece):
    """The drop that clears nothing, into the middle column if it can, and
    piles highest: the way to an overflow."""
    moves = [(cleared, c != SPAWN, -height(nb[c]), c, ks, nb, cleared, chains)
             for c, ks, nb, cleared, chains in options(b, piece)]
    if height(b[SPAWN]) >= 10 or not moves:
        return SPAWN, piece, None, 0, 0  # this drop ends the game
    return min(moves)[3:]


# --------------------------------------------------------------------------
# The screen


class Screen:
    """Reads the play screen: jewel tiles are matched exactly, row by row."""

    def __init__(self, run_dir):
        sheet = xh.load_picture(run_dir, "Jewels.bmp")
        self.tiles = []
        for k in range(7):
            tile = sheet.cut(32 * k, 0, 32, 32)
            self.tiles.append([tuple(bytes(p[i] for p in row) for i in range(3)) for row in tile.rows])
        self.over = xh.load_picture(run_dir, "Game_Over.bmp")
        self.over_samples = xh.opaque_samples(self.over)

    def kind_at(self, f, x, y):
        """The jewel kind (0: the empty cell) whose tile is drawn at (x, y)."""
        for k, tile in enumerate(self.tiles):
            for j in range(max(0, -y), min(32, H - y)):
                o = (y + j) * W + x
                r, g, b = tile[j]
                if f.r[o:o + 32] != r or f.g[o:o + 32] != g or f.b[o:o + 32] != b:
                    break
            else:
                return k
        return None

    def piece(self, f):
        """(column, y, kinds top to bottom) of the falling column: the
        highest three jewels stacked in a column of the well."""
        best = None
        for c in range(COLUMNS):
            x = WELL_X + 32 * c
            for y in range(-20, 330):
                k = self.kind_at(f, x, y)
                if k:
                    below = (self.kind_at(f, x, y + 32), self.kind_at(f, x, y + 64))
                    if all(below) and (best is None or y < best[1]):
                        best = (c, y, (k,) + below)
                    break
        return best

    def well(self, f, piece):
        """The well's cells, None where none is seen (an explosion); the
        cells behind the falling column are empty."""
        b = [[0] * ROWS for _ in range(COLUMNS)]
        for c in range(COLUMNS):
            for r in range(1, ROWS):
                y = WELL_Y + 32 * r
                if piece and c == piece[0] and piece[1] - 32 < y < piece[1] + 96:
                    continue
                b[c][r] = self.kind_at(f, WELL_X + 32 * c, y)
        return b

    def next_piece(self, f):
        return tuple(self.kind_at(f, 188, 58 + 32 * k) for k in range(3))

    def game_over_y(self, f):
        for y in range(-140, 201):
            if xh.sprite_matches(f, self.over, self.over_samples, OVER_X, y):
                return y
        return None


def jewels(b):
    return sum(1 for col in b for k in col[1:] if k)


def complete(b):
    return all(k is not None for col in b for k in col)


def frame_of_png(path):
    rows = xh.read_png(path)
    planes = [bytes(p[i] for row in rows for p in row) for i in range(3)]
    return xh.Frame(planes[0], planes[1], planes[2], None, None)


def name_entry(frame):
    return frame.pixel(630, 470) == BLACK and frame.count_not(BLACK, 150, 160, 400, 185) > 30


class Player:
    def __init__(self, server, game, screen):
        self.x, self.game, self.screen = server, game, screen
        self.cleared = self.chains = 0  # jewels seen to go; chains the model saw
        self.locks = []  # (column, row) where each dropped column came to rest
        self.misses = 0  # times the well did not come out as the model said
        self.last = None  # the last frame read, kept should a check fail

    def shot(self, keep=False):
        """One finished frame, taken twice alike with the game stopped; with
        keep the game stays stopped."""
        while True:
            if not self.game.pause():
                self.game.require_alive()
            first = self.x.capture()
            time.sleep(0.03)
            second = self.x.capture()
            if (first.r, first.g, first.b) == (second.r, second.g, second.b):
                self.last = first
                if not keep:
                    self.game.resume()
                return first
            self.game.resume()
            time.sleep(0.02)

    def look(self, timeout=20, keep=False):
        """(well, piece, next piece) once all of them can be read. The game
        is stopped while they are read (and after, with keep): the column
        falls only while keys are pressed."""
        def read():
            f = self.shot(keep=True)
            piece = self.screen.piece(f)
            nxt = self.screen.next_piece(f)
            b = piece and all(nxt) and self.screen.well(f, piece)
            if not (b and complete(b) and keep):
                self.game.resume()
            return b and complete(b) and (b, piece, nxt)
        return xh.wait_for("a readable play screen", read, timeout, interval=0.05)

    def press(self, key, times=1, hold=0.03):
        # The game reads which keys are down once a frame, so a press must
        # outlast a frame (long ones on a busy machine); and an arrow or Up
        # held past the repeat delay steps twice. Each xdotool call holds its
        # key for a fixed time: short for those, which are checked and
        # pressed again as needed, longer for Space, one drop a press.
        for _ in range(times):
            self.x.run(["xdotool", "keydown", key, "sleep", str(hold), "keyup", key])
            time.sleep(0.09)

    def steer(self, column, kinds):
        """Moves and cycles the falling column until it is seen where it
        should be, as it should be; returns what was seen then."""
        for _ in range(8):
            seen = self.look()
            c, _y, ks = seen[1]
            if c == column and ks == kinds:
                return seen
            if ks != kinds:
                self.press("Up", cycles(ks).index(kinds) if kinds in cycles(ks) else 1)
            if c != column:
                self.press("Left" if column < c else "Right", abs(column - c))
            time.sleep(0.05)
        raise xh.Failure("the column did not reach column %d as %s" % (column, kinds))

    def drop(self, seen, expected):
        """Drops the column and waits until the well is the one the model
        expects (every explosion over); should the model be wrong, until it
        has stayed still. A press the game did not see (the same column
        still falling over the same well) is made again."""
        well, piece, nxt = seen
        self.press("space", hold=0.15)
        pressed = time.monotonic()
        end = pressed + 8
        last = None
        while True:
            b, p, n = self.look()
            if b == well and (p[0], p[2], n) == (piece[0], piece[2], nxt) and p[1] >= piece[1]:
                if time.monotonic() > end:
                    raise xh.Failure("column %d %s did not drop" % (piece[0], piece[2]))
                if time.monotonic() - pressed > 0.6:
                    self.press("space", hold=0.15)
                    pressed = time.monotonic()
                time.sleep(0.1)
                continue
            if b == expected:
                return b
            if time.monotonic() > end and b == last:
                self.misses += 1
                return b
            if b != last:
                last = b
                time.sleep(0.5)  # longer than one explosion

    def play(self):
        """Plays until a level-up and a chain, then overflows; returns the
        seconds it took once the drop that ends the game is made."""
        started = time.monotonic()
        while True:
            if time.monotonic() - started > 100:
                raise xh.Failure("no level-up and chain after %d drops (%d jewels cleared, %d chains)" % (
                    len(self.locks), self.cleared, self.chains))
            b, (_c, _y, piece), nxt = self.look(keep=True)
            if self.cleared >= LEVEL_QUOTA and self.chains:
                column, kinds, after, cleared, chains = stacking_move(b, piece)
            else:
                column, kinds, after, cleared, chains = scoring_move(b, piece, nxt)
            self.game.resume()
            seen = self.steer(column, kinds)
            if after is not None:
                self.locks.append((column, ROWS - 1 - height(b[column])))
            if after is None or height(after[SPAWN]) == ROWS - 1:
                # This drop ends the game, or the next column has no room
                # (a press missed here, the column lands by itself).
                self.press("space", hold=0.15)
                return time.monotonic() - started
            self.cleared += jewels(b) + 3 - jewels(self.drop(seen, after))
            self.chains += chains


# --------------------------------------------------------------------------


def sim(args, sim_path, run_dir):
    result = subprocess.run([sim_path, "--dir", run_dir] + args, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            timeout=120)
    return result.returncode, result.stdout.decode(), result.stderr.decode()


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--stakko", required=True)
    p.add_argument("--sim", required=True)
    p.add_argument("--run-dir", required=True)
    p.add_argument("--artifacts", required=True)
    args = p.parse_args()
    status = xh.skip_for_missing_tools()
    if status is not None:
        return status
    os.makedirs(args.artifacts, exist_ok=True)
    work = xh.temp_dir("stakko-replay-e2e-")
    run = xh.prepare_run_folder(args.run_dir, work)
    replays = os.path.join(run, "Replays")
    os.makedirs(replays, exist_ok=True)
    screen = Screen(run)
    server = xh.XServer(1280, 960, os.path.join(args.artifacts, "xvfb.log"))
    game = None
    try:
        # A fixed 1000 frames a second: the game moves a step a frame, so
        # this keeps its pace whatever else the machine is doing.
        # The player reads the screen between the game's frames; now and
        # then a busy machine leaves it behind the game. It then has one
        # more game, from an empty table: what is checked is the game that
        # was played through.
        for attempt in (1, 2):
            game = xh.Game([args.stakko, "--fps", "1000"], run, server, args.artifacts)
            xh.wait_for("the title", lambda: server.capture().count_not(BLACK, 0, 0, 640, 480) > 1000, 20)
            time.sleep(1.0)
            server.tap("space", 0.2)
            player = Player(server, game, screen)
            try:
                took = player.play()
                break
            except xh.Failure as e:
                if player.last is not None:
                    player.last.save_png(os.path.join(args.artifacts, "window-last-seen-%d.png" % attempt))
                print("columns dropped to rest %s, %d jewels seen to go" % (player.locks, player.cleared))
                if attempt == 2:
                    raise
                print("AGAIN    the player lost the game's track (%s); a second game" % e)
                game.kill()
                game = None
                for folder in ("Data", "Replays"):
                    shutil.rmtree(os.path.join(run, folder), ignore_errors=True)
                    os.makedirs(os.path.join(run, folder))
        print("PASS     played in %.0f s: %d columns dropped to rest, %d jewels seen to go, %d chains in the model "
              "(%d wells not as it expected)" % (took, len(player.locks), player.cleared, player.chains, player.misses))

        def sliding():
            f = player.shot()
            y = screen.game_over_y(f)
            return y is not None and 20 <= y <= 195 and (f, y)
        over_shot, over_y = xh.wait_for("the game-over picture over the well", sliding, 15, interval=0.05)
        over_shot.save_png(os.path.join(args.artifacts, "window-game-over.png"))
        xh.wait_for("the name entry", lambda: name_entry(server.capture()), 15, interval=0.1)
        time.sleep(0.3)
        for key in ["BackSpace"] * 8 + ["r", "p", "l"]:
            server.tap(key, 0.05)
            time.sleep(0.45)
        shot = xh.wait_for("the name RPL", lambda: (lambda f: name_entry(f) and f)(player.shot()), 10)
        shot.save_png(os.path.join(args.artifacts, "window-name-entry.png"))
        server.tap("Return", 0.2)
        table = os.path.join(run, "Data", "highscore.dat")
        rows = xh.wait_for("RPL in the table", lambda: os.path.exists(table) and
                           [r for r in xh.read_high_scores(table) if r[0] == "RPL"], 10)
        files = xh.wait_for("a replay in Replays", lambda: sorted(
            n for n in os.listdir(replays) if n.endswith(".stkr")), 10)
        print("PASS     recorded %s; the table's row %s" % (files, rows[0]))
        # The table slides in, then shows one picture and waits for a key.
        time.sleep(1.5)
        table_shot = player.shot()
        table_shot.save_png(os.path.join(args.artifacts, "window-table.png"))
        game.kill()
        game = None
        replay = os.path.join(replays, files[-1])
        shutil.copy(replay, os.path.join(args.artifacts, "replay.stkr"))
        return check_replay(args, server, screen, player, replay, rows[0], shot, (over_shot, over_y), table_shot)
    finally:
        if game is not None:
            game.kill()
        server.stop()
        shutil.rmtree(work, ignore_errors=True)


def chains_shown(args, screen, replay, trace, dump):
    """The chains in the replay's own frames: explosions whose line was not
    in the well until the explosion before them let jewels fall. Frame f of
    an explosion traced at f is the well it was found in; frame f + 1 shows
    the line before it bursting, its cells covered by the explosion.
    Returns ([(frame before, frame, line)], why there are none)."""
    pairs = []
    prior = None
    for m in re.finditer(r"^t=\d+ f=(\d+) (explode cells=(\d+)|lock) ", trace, re.M):
        if m.group(3) and prior is not None:
            pairs.append(prior + (int(m.group(1)),))
        prior = (int(m.group(1)), int(m.group(3))) if m.group(3) else None
    frames = sorted({f for a, _n, b in pairs for f in (a + 1, b)})
    if not frames:
        return [], "no explosion followed another"
    code, _out, err = sim(["--replay", replay, "--dump-frames", ",".join(map(str, frames)), "--dump-dir", dump],
                          args.sim, args.run_dir)
    if code != 0:
        return [], "stakko-sim --dump-frames: " + err
    chains = []
    for first, cells, second in pairs:
        before_f = frame_of_png(os.path.join(dump, "frame-%d.png" % (first + 1)))
        after_f = frame_of_png(os.path.join(dump, "frame-%d.png" % second))
        before = screen.well(before_f, screen.piece(before_f))
        after = screen.well(after_f, screen.piece(after_f))
        bursting = sum(1 for col in before for k in col if k is None)
        if bursting != cells:
            return [], "frame %d shows %d cells bursting, not the %d traced" % (first + 1, bursting, cells)
        line = complete(after) and find_line(after)
        if line and made_by_falling(before, after, line):
            chains.append((first, second, line))
    return chains, "none of %d explosions after another is a chain in the frames" % len(pairs)


def check_replay(args, server, screen, player, replay, row, shot, over, table_shot):
    """The recorded game proves row and shows the screens the window did."""
    code, out, err = sim(["--verify", replay], args.sim, args.run_dir)
    if code != 0 or not out.startswith("verified: score %d," % row[1]):
        print("FAIL     stakko-sim --verify: status %d, %s%s" % (code, out, err))
        return 1
    print("PASS     stakko-sim --verify: " + out.strip())
    verified = out
    table = subprocess.run([args.stakko, "--verify-table"], cwd=os.path.dirname(os.path.dirname(replay)),
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)
    lines = table.stdout.decode().splitlines()
    if table.returncode != 0 or not lines or "RPL" not in lines[0] or "proven by" not in lines[0] or \
            not lines[-1].startswith("1 of 10 rows proven"):
        print("FAIL     stakko --verify-table: status %d, %s %s" % (table.returncode, lines, table.stderr))
        return 1
    print("PASS     stakko --verify-table: " + lines[0].strip())

    code, out, err = sim(["--replay", replay, "--trace", "--board"], args.sim, args.run_dir)
    events = [line.split(" ", 2)[2] for line in out.splitlines() if line.startswith("t=")]
    with open(os.path.join(args.artifacts, "replay-trace.txt"), "w") as f:
        f.write(out)
    wanted = ["levelup level=2", "gameover", "highscore row=1", "highscore save ok", "state 7 3"]
    missing = [w for w in wanted if w not in events]
    locks = [(int(c), int(r)) for c, r in re.findall(r"^t=\d+ f=\d+ lock col=(\d+) row=(\d+)$", out, re.M)]
    explosions = [int(n) for n in re.findall(r"^t=\d+ f=\d+ explode cells=(\d+) ", out, re.M)]
    if code != 0 or missing or locks != player.locks or sum(explosions) != player.cleared:
        print("FAIL     stakko-sim --replay: status %d, missing %s; locks %s, the window's %s; %d jewels exploded, "
              "%d seen to go: %s" % (code, missing, locks, player.locks, sum(explosions), player.cleared, err))
        return 1
    level = max(int(e.split("=")[1]) for e in events if e.startswith("levelup "))
    print("PASS     the replay's trace: the %d columns came to rest where the window showed them (in columns %s), "
          "%d explosions took the %d jewels seen to go, level %d reached, game over, row 1 saved" % (
              len(locks), sorted({c for c, _r in locks}), len(explosions), sum(explosions), level))

    dump = os.path.join(args.artifacts, "replay-frames")
    chains, why = chains_shown(args, screen, replay, out, dump)
    if not chains:
        print("FAIL     no chain in the replay: " + why)
        return 1
    first, second, line = chains[0]
    print("PASS     %d chain(s) in the replay's frames; the first: the line %s exploding after frame %d was made "
          "by the jewels the explosion of frame %d let fall" % (len(chains), line, second, first))

    # The screens the game ended on. The game-over picture slides over a
    # still of the last play frame, shown once the play state is left; the
    # name entry is the frame before the one in which Enter was read; the
    # table, once slid in, is the replay's last frame.
    left = [int(m.group(1)) for m in re.finditer(r"^t=\d+ f=(\d+) state 6 7$", out, re.M)][0]
    saved = [int(m.group(1)) for m in re.finditer(r"^t=\d+ f=(\d+) highscore save ok$", out, re.M)][0]
    frames = int(re.search(r"(\d+) frames", verified).group(1))
    still_n, name_n = left + 1, saved - 1
    code, _out, err = sim(["--replay", replay, "--dump-frames", "%d,%d,%d" % (still_n, name_n, frames),
                           "--dump-dir", dump], args.sim, args.run_dir)
    if code != 0:
        print("FAIL     stakko-sim --dump-frames: " + err)
        return 1
    for window, n, what in ((shot, name_n, "name entry"), (table_shot, frames, "table")):
        frame = frame_of_png(os.path.join(dump, "frame-%d.png" % n))
        diff = sum(1 for y in range(H) for x in range(W) if window.pixel(x, y) != frame.pixel(x, y))
        if diff:
            print("FAIL     the window's %s and the replay's frame %d differ in %d pixels" % (what, n, diff))
            return 1
        print("PASS     the %s in the window is the replay's frame %d, pixel for pixel" % (what, n))

    # The well the replay ended with, in its still (the stuck column may
    # hang above it), and the window's picture of it under the slide.
    board = [line.split()[2] for line in out.splitlines() if line.startswith("board ")]
    final = [[0] + [int(board[r][c]) for r in range(12)] for c in range(COLUMNS)]
    still = frame_of_png(os.path.join(dump, "frame-%d.png" % still_n))
    if screen.well(still, screen.piece(still)) != final:
        print("FAIL     the replay's frame %d does not show the final well of its trace %s" % (still_n, board))
        return 1
    over_shot, over_y = over
    sprite = screen.over
    diff = 0
    for y in range(H):
        for x in range(W):
            sx, sy = x - OVER_X, y - over_y
            want = still.pixel(x, y)
            if 0 <= sx < sprite.width and 0 <= sy < sprite.height and sprite.at(sx, sy) != BLACK:
                want = sprite.at(sx, sy)
            diff += over_shot.pixel(x, y) != want
    if diff:
        print("FAIL     the window's game-over picture at y %d and the replay's frame %d under it differ in %d "
              "pixels" % (over_y, still_n, diff))
        return 1
    print("PASS     the window's game-over picture at y %d over the final well is the replay's frame %d (the "
          "trace's final well) with the picture, pixel for pixel" % (over_y, still_n))

    # Watched in the window at 4x (Right twice), the replay ends by itself
    # on its last screen with status 0 and leaves the table alone.
    watch_dir = os.path.join(os.path.dirname(os.path.dirname(replay)), "watch")
    os.makedirs(watch_dir, exist_ok=True)
    game = xh.Game([args.stakko, "--replay", replay], os.path.dirname(os.path.dirname(replay)), server, watch_dir)
    try:
        xh.wait_for("the replay's get-ready slide", lambda: server.capture().count_not(BLACK, 0, 0, 640, 480) > 1000, 20)
        started = time.monotonic()
        for _ in range(2):
            server.tap("Right", 0.1)
            time.sleep(0.2)
        seen_name = False
        while game.alive() and time.monotonic() - started < 90:
            seen_name = seen_name or name_entry(server.capture())
            time.sleep(0.1)
        code = game.wait_exit(5)
        took = time.monotonic() - started
    finally:
        game.kill()
    if code != 0 or not seen_name:
        print("FAIL     stakko --replay: status %s, name entry seen: %s, %s" % (code, seen_name, game.stderr_text()))
        return 1
    print("PASS     stakko --replay at 4x: the name entry shown, ended by itself after %.1f s with status 0" % took)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except xh.Failure as e:
        print("FAIL     " + str(e))
        sys.exit(1)
