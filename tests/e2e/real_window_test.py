#!/usr/bin/env python3
"""The real game in a real X server, played with real key and mouse events.

    real_window_test.py --stakko PATH --run-dir DIR [--case full|no-display|signals|desktop]
                        [--size WxH] [--artifacts DIR]

The "full" case runs one session of the game under Xvfb and checks, in the
order a player meets them: the title appears and ripples; Escape on the
attract cycle opens the exit dialog and "No" returns; Space starts a game;
the get-ready picture crosses; the play screen shows its panel and a falling
piece; Left, Right, Up and Space act on the piece; after an overflow the
game-over picture falls; a typed name lands in "Data/highscore.dat"; Escape
and "Yes" end the process with exit code 0. The "no-display" case checks
that without any display the game reports its start-up error and exits 1.
The "desktop" case checks another screen size, windowed play and absolute
pointers (run_desktop).

Each check is a function of the Session below, listed in CHECKS with the
checks it needs; a check whose needs failed is reported as blocked, never
skipped silently. Screenshots of failed checks are kept in --artifacts.
Exit status: 0 when every check passed, 1 otherwise, 77 when the machine
lacks Xvfb, xdotool or xwd (under CI, where they must be there, 1).
"""

import argparse
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xharness as xh  # noqa: E402
from xharness import Failure  # noqa: E402

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
PLAY_GREY = (235, 235, 235)  # the play screen's background on level 1

# The exit dialog: box (220, 200) 200x75, body colour, buttons 55x20.
DIALOG_BODY = (5, 199, 33)
DIALOG_BODY_POINTS = [(410, 206), (222, 240), (416, 272)]
BUTTONS = {"No": (224, 250), "Yes": (361, 250)}
BUTTON_DARK = (100, 100, 100)

WELL_X, WELL_Y = 224, 55  # cell (x, y) is drawn at (224 + 32x, 55 + 32y)


class TitleModel:
    """Rows of the title picture that show unambiguously how far they were
    shifted, for telling a rippled title from a settled one. Whole rows are
    compared exactly, as bytes of each colour plane."""

    SHIFT = 21

    def __init__(self, picture):
        self.expected = {}  # row -> {shift: (r, g, b) bytes}
        for r in range(1, 480, 3):
            planes = [bytes(picture.at(x, r)[c] for x in range(xh.GAME_W)) for c in range(3)]
            by_shift = {}
            for s in range(-self.SHIFT, self.SHIFT + 1):
                if s >= 0:
                    by_shift[s] = tuple(b"\0" * s + p[:xh.GAME_W - s] for p in planes)
                else:
                    by_shift[s] = tuple(p[-s:] + b"\0" * -s for p in planes)
            if list(by_shift.values()).count(by_shift[0]) == 1:
                self.expected[r] = by_shift
            if len(self.expected) >= 60:
                break
        if len(self.expected) < 8:
            raise Failure("the title picture has too little detail to see a ripple")

    def shifts(self, frame):
        """{row: shift} for the rows that show the picture at some shift."""
        found = {}
        for r, by_shift in self.expected.items():
            o = r * xh.GAME_W
            got = (frame.r[o:o + xh.GAME_W], frame.g[o:o + xh.GAME_W], frame.b[o:o + xh.GAME_W])
            for s, want in by_shift.items():
                if want == got:
                    found[r] = s
                    break
        return found

    def classify(self, frame):
        """'rippled', 'settled' or None (the title picture is not shown)."""
        found = self.shifts(frame)
        rows = len(self.expected)
        if len(found) < 0.7 * rows:
            # Jewels of the attract screen may cover part of a settled title.
            if len(found) >= 0.3 * rows and all(s == 0 for s in found.values()):
                return "settled"
            return None
        values = set(found.values())
        if values == {0}:
            return "settled"
        if len(values) >= 3 and max(abs(v) for v in values) >= 2:
            return "rippled"
        return None


class Session:
    """One game on one X server. By default the built executable runs in a
    copy of the run folder; install_test.py points it at an installed
    launcher instead (command, cwd, env, where the pictures and the "Data"
    folder are)."""

    def __init__(self, args, command=None, cwd=None, env=None, assets_dir=None, data_dir=None, server_args=()):
        self.args = args
        self.work = xh.temp_dir("stakko-e2e-")
        self.artifacts = args.artifacts or self.work
        os.makedirs(self.artifacts, exist_ok=True)
        self.run_dir = None
        if command is None:
            self.run_dir = xh.prepare_run_folder(args.run_dir, self.work)
            command, cwd = [args.stakko], self.run_dir
        self.command, self.cwd, self.env = command, cwd, env
        self.assets_dir = assets_dir or self.run_dir
        self.data_dir = data_dir or os.path.join(self.run_dir, "Data")
        width, height = (int(v) for v in args.size.split("x"))
        self.x = xh.XServer(width, height, os.path.join(self.artifacts, "xvfb.log"), server_args)
        self.game = None
        self.last_frame = None
        self.pictures = {}
        self.piece_column = None

    def close(self):
        if self.game is not None:
            self.game.kill()
        self.x.stop()
        if not self.args.keep:
            shutil.rmtree(self.work, ignore_errors=True)

    # Helpers -------------------------------------------------------------

    def picture(self, name):
        if name not in self.pictures:
            self.pictures[name] = xh.load_picture(self.assets_dir, name)
        return self.pictures[name]

    def shot(self):
        self.game.require_alive()
        self.last_frame = self.x.capture()
        return self.last_frame

    def wait_frame(self, what, predicate, timeout):
        """Screenshots until predicate(frame) holds; returns the frame."""
        def poll():
            frame = self.shot()
            return frame if predicate(frame) else None
        return xh.wait_for(what, poll, timeout, interval=0.01)

    def dialog_shown(self, frame):
        return all(frame.pixel(x, y) == DIALOG_BODY for x, y in DIALOG_BODY_POINTS)

    def open_dialog(self):
        self.x.key_down("Escape")
        try:
            self.wait_frame("the exit dialog", self.dialog_shown, 10)
        finally:
            self.x.key_up("Escape")

    def cursor_box(self, frame):
        """Top-left of the non-black pixels above and left of the dialog,
        where only the game's pointer is drawn."""
        top = left = None
        for y in range(0, 196):
            row = y * xh.GAME_W
            for plane in (frame.r, frame.g, frame.b):
                seg = plane[row:row + 216]
                if seg.count(0) != len(seg):
                    first = next(i for i, v in enumerate(seg) if v)
                    left = first if left is None else min(left, first)
                    top = y if top is None else top
        return None if top is None else (left, top)

    def pointer(self):
        return self.cursor_box(self.shot())

    def move_pointer(self, dx, dy, tries=3):
        """Relative motion of the real mouse; returns the pointer's box
        before and after, or None when it never moved. A motion sent while
        the game is taking the mouse over may be dropped, so it is sent again
        (from wherever the pointer then is) when nothing happened."""
        for _ in range(tries):
            before = self.pointer()
            self.x.move_mouse_by(dx, dy)
            try:
                after = xh.wait_for("the pointer to move",
                                    lambda: (lambda b: b if b and b != before else None)(self.pointer()), 1.5)
                return before, after
            except Failure:
                continue
        return None

    def click_button(self, name):
        """Moves the game's pointer onto a dialog button with relative mouse
        motion and clicks it. The pointer's speed (game pixels per screen
        pixel of motion) is measured first, so the check does not depend on
        how the platform scales the mouse."""
        bx, by = BUTTONS[name]
        other = BUTTONS["Yes" if name == "No" else "No"]
        for _attempt in range(3):
            # Park the pointer in the top-left corner, where it is clamped.
            self.x.move_mouse_by(-4000, -4000)
            origin = None
            try:
                origin = xh.wait_for("the pointer in the top-left corner",
                                     lambda: (lambda b: b if b and b[0] < 40 and b[1] < 40 else None)(self.pointer()), 3)
            except Failure:
                pass
            if origin is not None:
                move = (120, 80)
                moved = self.move_pointer(*move)
                if moved is None:
                    continue
                pos = (moved[1][0] - origin[0], moved[1][1] - origin[1])
                step = (moved[1][0] - moved[0][0], moved[1][1] - moved[0][1])
                ratio = (step[0] / move[0], step[1] / move[1])
                if ratio[0] <= 0 or ratio[1] <= 0:
                    raise Failure("the pointer moved the wrong way: %s for %s" % (step, move))
            else:
                # No pointer picture to follow: assume the screen's enlargement.
                pos, ratio = (0, 0), (1.0 / self.x.factor, 1.0 / self.x.factor)
            target = (bx + 27, by + 10)
            self.x.move_mouse_by(round((target[0] - pos[0]) / ratio[0]), round((target[1] - pos[1]) / ratio[1]))
            self.x.mouse_down()
            try:
                self.wait_frame("the %s button drawn pressed" % name,
                                lambda f: f.pixel(bx + 1, by + 1) == BUTTON_DARK, 3)
            except Failure:
                # Never let go over the other button: leave both first.
                self.x.move_mouse_by(-4000, -4000)
                self.wait_frame("both buttons up", lambda f: f.pixel(other[0] + 1, other[1] + 1) != BUTTON_DARK, 3)
                self.x.mouse_up()
                continue
            self.x.mouse_up()
            return
        raise Failure("could not put the pointer on %s in three attempts" % name)

    # Jewels --------------------------------------------------------------

    def tiles(self):
        if "tiles" not in self.pictures:
            sheet = self.picture("Jewels.bmp")
            tiles = [sheet.cut(32 * k, 0, 32, 32) for k in range(7)]
            samples = [[(x, y) for y in range(1, 32, 3) for x in range(1, 32, 3)] for _ in tiles]
            self.pictures["tiles"] = (tiles, samples)
        return self.pictures["tiles"]

    def tile_at(self, frame, x, y):
        """The jewel kind (0 for the empty cell) drawn at (x, y), or None."""
        tiles, samples = self.tiles()
        for k, tile in enumerate(tiles):
            if xh.sprite_matches(frame, tile, samples[k], x, y, needed=1.0):
                return k
        return None

    def tile_signatures(self):
        """For each jewel kind, the tile column with the most distinct
        colours, as bytes per colour plane: a quick way to spot the tile."""
        if "signatures" not in self.pictures:
            tiles, _ = self.tiles()
            sigs = []
            for tile in tiles:
                sx = max(range(32), key=lambda x: len(set(tile.at(x, y) for y in range(32))))
                sigs.append((sx, bytes(tile.at(sx, y)[0] for y in range(32))))
            self.pictures["signatures"] = sigs
        return self.pictures["signatures"]

    def column_tiles(self, frame, x):
        """{y: kind} of the jewels (kinds 1 to 6) drawn with their left edge
        at x, also those cut by the top of the screen."""
        tiles, samples = self.tiles()
        found = {}
        for k, (sx, sig) in enumerate(self.tile_signatures()):
            if k == 0:
                continue
            col = frame.r[x + sx::xh.GAME_W]
            y = col.find(sig)
            while y != -1:
                if xh.sprite_matches(frame, tiles[k], samples[k], x, y, needed=1.0):
                    found[y] = k
                y = col.find(sig, y + 1)
            for y in range(-31, 0):
                if col[:32 + y] == sig[-y:] and xh.sprite_matches(frame, tiles[k], samples[k], x, y, needed=1.0):
                    found[y] = k
        return found

    def find_piece(self, frame):
        """(column, y, kinds top to bottom) of the falling piece: the topmost
        three jewels stacked in one column of the well, or None."""
        best = None
        for c in range(6):
            found = self.column_tiles(frame, WELL_X + 32 * c)
            for y0 in sorted(found):
                if y0 + 32 in found and y0 + 64 in found:
                    if best is None or y0 < best[1]:
                        best = (c, y0, (found[y0], found[y0 + 32], found[y0 + 64]))
                    break
        return best

    def board_cell(self, frame, column, row):
        return self.tile_at(frame, WELL_X + 32 * column, WELL_Y + 32 * row)

    def press_until(self, key, what, condition, tries=3, timeout=1.5, hold=0.03):
        """Taps key (a real hold shorter than the game's repeat delay) and
        waits for condition(frame); taps again only if nothing happened."""
        for _ in range(tries):
            self.x.tap(key, hold)
            try:
                return self.wait_frame(what, condition, timeout)
            except Failure:
                continue
        raise Failure("%s did not happen after %d presses of %s" % (what, tries, key))

    # The checks ------------------------------------------------------------

    def start_game(self):
        """Starts the game and stops it at once: the title check runs it in
        slices from its first instruction."""
        self.game = xh.Game(self.command, self.cwd, self.x, self.artifacts, self.env)
        self.game.pause()

    def check_window(self):
        if self.game is None:
            self.start_game()
        self.game.resume()
        out = self.x.run(["xdotool", "search", "--sync", "--name", "^Stakko$"], timeout=30)
        window = out.split()[0].decode()
        self.x.run(["xdotool", "windowfocus", window], check=False)
        geometry = self.x.run(["xdotool", "getwindowgeometry", window]).decode()
        want = "%dx%d" % (self.x.width, self.x.height)
        xh.wait_for("the window to cover the screen (%s)" % want,
                    lambda: want in self.x.run(["xdotool", "getwindowgeometry", window]).decode(), 10)
        xh.wait_for("the keyboard focus on the window",
                    lambda: self.x.run(["xdotool", "getwindowfocus"], check=False).split()[:1] == [window.encode()], 5)
        return "window %s: %s" % (window, " ".join(geometry.split()[2:]))

    def check_title_ripples(self):
        """The wave lasts 40 frames, far less than a screenshot takes, so the
        game is run in short slices (stopped with SIGSTOP between them) and
        a screenshot is taken of each stopped frame."""
        self.start_game()
        rippled = []
        slice_s = 0.004
        end = xh.deadline(60)
        try:
            model = TitleModel(self.picture("MainScreen.bmp"))
            while time.monotonic() < end and len(rippled) < 4:
                self.game.resume()
                time.sleep(slice_s)
                if not self.game.pause():
                    self.game.require_alive()
                frame = self.shot()
                if frame.is_uniform(BLACK, step=20):
                    # Still loading; slices stay short, since on a fast
                    # display the whole wave takes a few milliseconds.
                    slice_s = min(slice_s * 1.5, 0.003)
                    continue
                slice_s = 0.001
                kind = model.classify(frame)
                if kind == "rippled":
                    shifts = tuple(sorted(model.shifts(frame).items()))
                    if not rippled or rippled[-1] != shifts:
                        rippled.append(shifts)
                elif kind == "settled" and rippled:
                    break
        finally:
            self.game.resume()
        if len(rippled) < 2:
            raise Failure("saw %d distinct rippled title frames (want 2 or more)" % len(rippled))
        self.wait_frame("the title picture settled", lambda f: model.classify(f) == "settled", 20)
        return "%d different rippled frames seen, then the settled picture" % len(rippled)

    def check_dialog_no(self):
        self.open_dialog()
        self.click_button("No")
        model = TitleModel(self.picture("MainScreen.bmp"))
        self.wait_frame("the attract screen back after No",
                        lambda f: not self.dialog_shown(f) and model.classify(f) is not None, 10)
        return "dialog opened by Escape, closed by No"

    def check_get_ready(self):
        # Held until the screen answers: Space is read as held, once a frame.
        self.x.key_down("space")
        try:
            self.wait_frame("the white get-ready screen",
                            lambda f: f.pixel(2, 2) == WHITE and f.pixel(637, 477) == WHITE, 15)
        finally:
            self.x.key_up("space")
        # This one through the X protocol, as any screenshot tool sees it.
        frame = self.x.capture_xwd()
        problem = frame.letterbox_and_scale_ok()
        if problem:
            raise Failure("scaling: " + problem)
        sprite = self.picture("GetReady.bmp")
        samples = xh.opaque_samples(sprite)
        band = max(range(sprite.height), key=lambda y: sum(1 for x in range(sprite.width) if sprite.at(x, y) != BLACK))
        cols = [x for x in range(sprite.width) if sprite.at(x, band) != BLACK]
        positions = []
        end = xh.deadline(15)
        while time.monotonic() < end:
            frame = self.shot()
            if frame.pixel(2, 2) != WHITE:
                break
            y = 221 + band
            marked = [x for x in range(xh.GAME_W) if frame.pixel(x, y) != WHITE]
            if marked:
                for x in (marked[0] - cols[0], marked[-1] - cols[-1]):
                    if xh.sprite_matches(frame, sprite, samples, x, 221):
                        if not positions or positions[-1] != x:
                            positions.append(x)
                        break
        if len(positions) < 3:
            raise Failure("the get-ready picture was seen at %d positions: %s" % (len(positions), positions))
        if any(b > a for a, b in zip(positions, positions[1:])):
            raise Failure("the get-ready picture did not move right to left: %s" % positions)
        if positions[0] - positions[-1] < 150:
            raise Failure("the get-ready picture moved only from %d to %d" % (positions[0], positions[-1]))
        return "picture seen at x %s" % ", ".join(str(p) for p in positions[:8])

    def check_play_screen(self):
        frame = self.wait_frame("the play screen", lambda f: f.pixel(2, 2) == PLAY_GREY, 15)
        captions = {"SCORE": (420, 50), "LEVEL": (420, 150), "STONE": (420, 250), "TO GO": (420, 350), "NEXT": (50, 50)}
        for name, (x, y) in captions.items():
            if frame.count_not(PLAY_GREY, x, y, x + 110, y + 24) < 20:
                raise Failure("no caption %s at (%d, %d)" % (name, x, y))
        for y in (80, 180, 280, 380):
            if frame.count_not(PLAY_GREY, 450, y, 500, y + 16) < 5:
                raise Failure("no number at (450, %d)" % y)
        empty = sum(1 for c in range(6) for r in range(1, 13) if self.board_cell(frame, c, r) == 0)
        if empty < 60:
            raise Failure("only %d of 72 well cells show the empty tile" % empty)
        next_kinds = [self.tile_at(frame, 188, 58 + 32 * k) for k in range(3)]
        if any(k is None or k == 0 for k in next_kinds):
            raise Failure("the next piece is not shown at (188, 58): %s" % next_kinds)
        first = xh.wait_for("the falling piece", lambda: self.find_piece(self.shot()), 5)
        later = xh.wait_for("the piece to fall",
                            lambda: (lambda p: p if p and p[1] > first[1] else None)(self.find_piece(self.shot())), 20)
        self.piece_column = later[0]
        return "panel, empty well, next piece %s; piece in column %d fell from y %d to %d" % (
            next_kinds, first[0], first[1], later[1])

    def check_piece_keys(self):
        start = xh.wait_for("the piece", lambda: self.find_piece(self.shot()), 5)
        column = start[0]
        # How many columns one press moves is the play code's business (and
        # its tests'); here a press must move the piece that way.
        moved = self.press_until("Left", "the piece moved left",
                                 lambda f: (lambda p: p and p[0] < column)(self.find_piece(f)))
        left_column = self.find_piece(moved)[0]
        self.press_until("Right", "the piece moved right",
                         lambda f: (lambda p: p and p[0] > left_column)(self.find_piece(f)))
        piece = self.find_piece(self.shot())
        for _ in range(4):  # a piece of three alike cannot show a cycle
            if len(set(piece[2])) > 1:
                break
            self.x.tap("space", 0.05)
            piece = xh.wait_for("a new piece", lambda: (lambda p: p if p and p[1] < 40 else None)(self.find_piece(self.shot())), 5)
        before = piece[2]
        rotations = {(before[1], before[2], before[0]), (before[2], before[0], before[1])} - {before}
        after = self.press_until("Up", "the jewels of %s cycled" % (before,),
                                 lambda f: (lambda p: p and p[2] in rotations)(self.find_piece(f)))
        cycled = self.find_piece(after)[2]
        piece = self.find_piece(self.shot())
        c, kinds = piece[0], piece[2]
        lowest = max(r for r in range(1, 13) if self.board_cell(self.last_frame, c, r) == 0)
        want = {lowest - 2: kinds[0], lowest - 1: kinds[1], lowest: kinds[2]}
        self.press_until("space", "the piece dropped into rows %d-%d of column %d" % (lowest - 2, lowest, c),
                         lambda f: all(self.board_cell(f, c, r) == k for r, k in want.items()), hold=0.05)
        return "Left, Right, Up (jewels %s -> %s) and Space (locked in column %d) act on the piece" % (
            before, cycled, c)

    def game_over_y(self, frame):
        sprite = self.picture("Game_Over.bmp")
        if "go_samples" not in self.pictures:
            self.pictures["go_samples"] = xh.opaque_samples(sprite)
        samples = self.pictures["go_samples"]
        for y in range(-150, 201):
            if xh.sprite_matches(frame, sprite, samples, 140, y):
                return y
        return None

    def check_game_over(self):
        seen = []
        end = xh.deadline(60)
        while time.monotonic() < end and not seen:
            self.x.tap("space", 0.06)
            time.sleep(0.06)
            y = self.game_over_y(self.shot())
            if y is not None:
                seen.append(y)
        if not seen:
            raise Failure("no game over after a minute of dropping pieces")
        # Until name entry (a black screen) or the table's wait; a frame read
        # while being drawn may not show the picture and is just skipped.
        end = xh.deadline(10)
        while time.monotonic() < end:
            frame = self.shot()
            y = self.game_over_y(frame)
            if y is None:
                if frame.pixel(630, 470) == BLACK and frame.pixel(2, 2) == BLACK:
                    break
                continue
            if y != seen[-1]:
                seen.append(y)
        if len(seen) < 3 or any(b < a for a, b in zip(seen, seen[1:])):
            raise Failure("the game-over picture was seen at y %s (want 3 or more, falling)" % seen)
        return "game-over picture seen falling at y %s" % ", ".join(map(str, seen[:10]))

    def check_name_saved(self):
        # Name entry: black screen with "YOU MAKE IT" at (150, 160).
        self.wait_frame("the name entry", lambda f: f.pixel(630, 470) == BLACK and
                        f.count_not(BLACK, 150, 160, 400, 185) > 30 and self.game_over_y(f) is None, 15)
        path = os.path.join(self.data_dir, "highscore.dat")
        # The offered name is "NOBODY": rub it out, then type our own. Each
        # accepted key shuts the entry for 250 ms, so keys come slower.
        for key in ["BackSpace"] * 6 + ["z", "q", "x"]:
            self.x.tap(key, 0.12)
            time.sleep(0.6)
        # Alt+Enter is the window's, there and back: the entry never sees an
        # Enter, so the name is not taken yet.
        window = self.x.run(["xdotool", "search", "--name", "^Stakko$"]).split()[0].decode()
        for _ in range(2):
            self.x.run(["xdotool", "key", "--window", window, "alt+Return"])
            time.sleep(0.5)
        if os.path.exists(path) and any("ZQX" in row[0] for row in xh.read_high_scores(path)):
            raise Failure("Alt+Enter reached the name entry as an Enter")
        xh.wait_for("fullscreen again", lambda: geometry_when(
            self.x, window, lambda g: g[2:] == (self.x.width, self.x.height)), 5)
        self.x.tap("Return", 0.1)

        def saved():
            if not os.path.exists(path):
                return None
            rows = xh.read_high_scores(path)
            names = [row[0] for row in rows]
            return rows if any("ZQX" in n for n in names) else None
        try:
            rows = xh.wait_for("the typed name in Data/highscore.dat", saved, 10)
        except Failure:
            found = xh.read_high_scores(path) if os.path.exists(path) else "no file"
            raise Failure("typed name not saved; the file holds %s" % (found,))
        if rows[0][0] != "ZQX":
            raise Failure("row 1 is %r: the typed name landed but Backspace did not rub out the offered one" % (rows[0],))
        return "row 1 saved as %s" % (rows[0],)

    def check_dialog_yes(self):
        self.open_dialog()
        self.click_button("Yes")
        code = self.game.wait_exit(10)
        if code != 0:
            raise Failure("exit code %d after Yes: %s" % (code, self.game.stderr_text()))
        return "the process ended with exit code 0"


# name, method, the checks it needs
CHECKS = [
    ("title appears and ripples", "check_title_ripples", []),
    ("window covers the screen", "check_window", []),
    ("Escape opens the dialog, No returns", "check_dialog_no", ["window covers the screen"]),
    ("Space starts a game, get-ready crosses", "check_get_ready", ["window covers the screen"]),
    ("play screen: panel and falling piece", "check_play_screen", ["Space starts a game, get-ready crosses"]),
    ("Left, Right, Up and Space act on the piece", "check_piece_keys", ["play screen: panel and falling piece"]),
    ("overflow: game-over picture falls", "check_game_over", ["play screen: panel and falling piece"]),
    ("typed name lands in Data/highscore.dat", "check_name_saved", ["overflow: game-over picture falls"]),
    ("Escape, Yes: exit code 0", "check_dialog_yes", ["window covers the screen"]),
]


def run_checks(session, checks):
    """Runs the checks in order; prints and returns {name: (state, detail)}."""
    results = {}
    try:
        for name, method, needs in checks:
            blocked = [n for n in needs if results.get(n, ("",))[0] != "PASS"]
            if blocked:
                results[name] = ("BLOCKED", "needs: " + ", ".join(blocked))
            elif (getattr(getattr(session, method), "needs_game", True) and session.game is not None
                  and not session.game.alive()):
                results[name] = ("BLOCKED", "the game is no longer running")
            else:
                started = time.monotonic()
                try:
                    detail = getattr(session, method)()
                    results[name] = ("PASS", detail)
                except (Failure, OSError) as e:
                    results[name] = ("FAIL", str(e))
                    if session.last_frame is not None:
                        shot = os.path.join(session.artifacts, "fail-%s.png" % method)
                        session.last_frame.save_png(shot)
                        results[name] = ("FAIL", "%s [screenshot %s]" % (e, shot))
                results[name] = (results[name][0], "%s (%.1f s)" % (results[name][1], time.monotonic() - started))
            print("%-8s %s: %s" % (results[name][0], name, results[name][1]), flush=True)
    finally:
        if session.game is not None and session.game.alive():
            stderr = session.game.stderr_text()
            if stderr:
                print("game stderr:\n" + stderr)
        session.close()
    failed = [n for n, (state, _) in results.items() if state != "PASS"]
    print("%d of %d checks passed" % (len(results) - len(failed), len(results)))
    return results


def run_full(args):
    results = run_checks(Session(args), CHECKS)
    return 0 if all(state == "PASS" for state, _ in results.values()) else 1


def run_no_display(args):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
    env["SDL_AUDIODRIVER"] = "dummy"
    work = xh.temp_dir("stakko-e2e-nodisplay-")
    try:
        run_dir = xh.prepare_run_folder(args.run_dir, work)
        result = subprocess.run([args.stakko], cwd=run_dir, env=env, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, timeout=60)
    except subprocess.TimeoutExpired:
        print("FAIL     no display: the game kept running without a display")
        return 1
    finally:
        shutil.rmtree(work, ignore_errors=True)
    err = result.stderr.decode(errors="replace")
    if result.returncode != 1 or "Unable to Initialize game settings." not in err:
        print("FAIL     no display: exit code %d, stderr %r" % (result.returncode, err))
        return 1
    print("PASS     no display: start-up error on stderr, exit code 1")
    return 0


def run_signals(args):
    """SIGINT, SIGTERM and SIGHUP each end the real game within a second,
    through its own shut-down, with status 128 + n; a table already on disk
    is left exactly as it was. SIGTERM comes during play, the others on the
    attract screens."""
    import signal as sig
    work = xh.temp_dir("stakko-e2e-signals-")
    server = xh.XServer(640, 480, os.path.join(work, "xvfb.log"))
    failures = 0
    try:
        for number, during_play in ((sig.SIGINT, False), (sig.SIGTERM, True), (sig.SIGHUP, False)):
            name = sig.Signals(number).name
            run_dir = xh.prepare_run_folder(args.run_dir, os.path.join(work, name))
            table = os.path.join(run_dir, "Data", "highscore.dat")
            kept = b"".join(bytes([3]) + b"SIG" + (9000 - 100 * r).to_bytes(4, "little") + b"08-DEC-2026" +
                            (1).to_bytes(4, "little") for r in range(10))
            with open(table, "wb") as f:
                f.write(kept)
            game = xh.Game([args.stakko], run_dir, server, os.path.join(work, name))
            try:
                xh.wait_for("the title", lambda: not server.capture().is_uniform(BLACK, step=20), 30)
                if during_play:
                    window = server.run(["xdotool", "search", "--sync", "--name", "^Stakko$"], timeout=30).split()[0]
                    server.run(["xdotool", "windowfocus", window.decode()], check=False)
                    server.tap("space")
                    xh.wait_for("the play screen", lambda: server.capture().pixel(2, 2) == PLAY_GREY, 20)
                os.kill(game.pid, number)
                started = time.monotonic()
                code = game.wait_exit(5)
                took = time.monotonic() - started
                with open(table, "rb") as f:
                    intact = f.read() == kept
                ok = code == 128 + number and took < 1.0 and intact
                print("%-8s %s%s: exit status %d after %.2f s, table %s" % (
                    "PASS" if ok else "FAIL", name, " during play" if during_play else "", code, took,
                    "intact" if intact else "CHANGED"), flush=True)
            except Failure as e:
                ok = False
                print("FAIL     %s: %s (stderr: %s)" % (name, e, game.stderr_text()), flush=True)
            finally:
                game.kill()
            failures += 0 if ok else 1
    finally:
        server.stop()
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


def window_geometry(server, window):
    """(x, y, width, height) of an X window; (0, 0, 0, 0) while it cannot
    be read (a window manager between two states of it)."""
    out = server.run(["xdotool", "getwindowgeometry", "--shell", window], check=False).decode()
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    try:
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
    except (KeyError, ValueError):
        return (0, 0, 0, 0)


def geometry_when(server, window, wanted):
    """The window's geometry once wanted(geometry) holds, else None (for
    wait_for)."""
    g = window_geometry(server, window)
    return g if g[2] > 1 and wanted(g) else None


def run_desktop(args):
    """Screens and windows: the command line's help and refusals; on a
    1366x768 screen (not a multiple of 640x480) the picture fills the
    height, exactly as the fill rule places it, and an absolute pointer
    move onto "Yes" and a click end the game with status 0; with --window
    the game starts in a window smaller than the screen and Alt+Enter
    switches it to fullscreen and back."""
    failures = []

    def report(ok, name, detail):
        print("%-8s %s: %s" % ("PASS" if ok else "FAIL", name, detail), flush=True)
        if not ok:
            failures.append(name)

    help_run = subprocess.run([args.stakko, "--help"], stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=20)
    text = help_run.stdout.decode()
    missing = [o for o in ("--window", "--scale", "--present", "--fps", "--verbose", "--help") if o not in text]
    report(help_run.returncode == 0 and not missing, "--help lists every option",
           "status %d, missing %s" % (help_run.returncode, missing or "none"))
    bad = subprocess.run([args.stakko, "--fullscreen-please"], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                         timeout=20)
    said = bad.stderr.decode()
    report(bad.returncode == 2 and "unknown option '--fullscreen-please'" in said, "an unknown option is refused",
           "status %d, stderr %r" % (bad.returncode, said.strip()))

    def said(game):
        with open(game.err_path, "rb") as f:
            return f.read().decode(errors="replace")

    args.size = "1366x768"
    # Without shared memory (a remote display) the window surface carries the
    # picture instead of an image of its own: it must land just the same.
    session = Session(args, server_args=("-extension", "MIT-SHM"))
    try:
        session.game = xh.Game([args.stakko, "--verbose"], session.run_dir, session.x, session.work)
        session.wait_frame("the picture in its area", lambda f: f.letterbox_and_scale_ok() is None, 30)
        xh.wait_for("the path said", lambda: "onto the window surface" in said(session.game), 5)
        report(True, "no shared memory: the window surface shows the picture", said(session.game).strip())
    except Exception as e:  # a crash in one session must not hide the others
        report(False, "1366x768 without shared memory", "%s: %s" % (type(e).__name__, e))
    finally:
        session.close()

    session = Session(args)
    try:
        session.game = xh.Game([args.stakko, "--verbose"], session.run_dir, session.x, session.work)
        session.wait_frame("the title", lambda f: not f.is_uniform(BLACK, step=20), 30)
        seen = {}

        def fills_height(f):
            # The first pictures may still be coming in: the share of lit
            # lines is judged on the settled one, within a few seconds.
            _pixels, width, height, _bpl, _ri, _gi, _bi = f.raw
            lit = [sy for sy in range(height) if any(f.screen_pixel(sx, sy) != BLACK for sx in range(0, width, 3))]
            seen.update(lit=lit, height=height, share=(lit[-1] - lit[0] + 1) / height if lit else 0)
            return seen["share"] >= 0.9
        try:
            session.wait_frame("the picture filling the height", fills_height, 10)
        except Failure:
            pass
        lit, height, share = seen["lit"], seen["height"], seen["share"]
        # Black bars around, every screen pixel the game pixel it stands for.
        session.wait_frame("the picture in its area", lambda f: f.letterbox_and_scale_ok() is None, 10)
        report(share >= 0.9 and "shared image" in said(session.game), "1366x768: the picture fills the height",
               "lines %d-%d of %d lit (%.0f%%), area %dx%d at (%d,%d); %s" % (
                   lit[0] if lit else -1, lit[-1] if lit else -1, height, 100 * share,
                   session.x.area_w, session.x.area_h, session.x.left, session.x.top, said(session.game).strip()))
        # Started fullscreen, Alt+Enter goes to a window and back; the
        # picture is whole again afterwards, bars and all.
        window = session.x.run(["xdotool", "search", "--name", "^Stakko$"]).split()[0].decode()
        server = session.x
        server.run(["xdotool", "key", "--window", window, "alt+Return"])
        windowed = xh.wait_for("a window", lambda: geometry_when(
            server, window, lambda g: g[2] < server.width), 5)
        server.run(["xdotool", "key", "--window", window, "alt+Return"])
        full = xh.wait_for("fullscreen again", lambda: geometry_when(
            server, window, lambda g: g[2:] == (server.width, server.height)), 5)
        session.wait_frame("the picture in its area again", lambda f: f.letterbox_and_scale_ok() is None, 10)
        report(True, "started fullscreen, Alt+Enter toggles", "window %s, fullscreen %s" % (windowed, full))
        session.open_dialog()
        # For its first fifth of a second the game only notes where the
        # pointer is (some systems park it when the game takes it over).
        time.sleep(0.5)
        bx, by = BUTTONS["Yes"]
        session.x.move_mouse_to(*session.x.screen_point(bx + 27, by + 10))
        session.x.mouse_down()
        session.wait_frame("Yes drawn pressed", lambda f: f.pixel(bx + 1, by + 1) == BUTTON_DARK, 5)
        session.x.mouse_up()
        code = session.game.wait_exit(10)
        report(code == 0, "an absolute pointer move onto Yes and a click end the game", "exit status %d" % code)
    except Exception as e:
        report(False, "1366x768 session", "%s: %s" % (type(e).__name__, e))
    finally:
        session.close()

    # Under a window manager fullscreen is the manager's to grant: the
    # game asks for it at start and on Alt+Enter.
    session = Session(args)
    manager = None
    try:
        server = session.x
        manager = subprocess.Popen(["openbox"], env=server.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        xh.wait_for("the window manager", lambda: b"_NET_SUPPORTING_WM_CHECK(WINDOW)" in server.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False), 10)
        session.game = xh.Game([args.stakko], session.run_dir, server, session.work)
        window = xh.wait_for("the game's window", lambda: server.run(
            ["xdotool", "search", "--name", "^Stakko$"], check=False).split(), 30)[0].decode()
        # The manager decides where the focus goes, and a game without it
        # shows nothing new: it is given the focus as a player would.
        def focused():
            server.run(["xdotool", "windowactivate", window], check=False)
            return server.run(["xdotool", "getactivewindow"], check=False).strip() == window.encode()
        xh.wait_for("the focus", focused, 10, interval=0.2)
        session.wait_frame("the picture in its area", lambda f: f.letterbox_and_scale_ok() is None, 30)

        def state():
            return server.run(["xprop", "-id", window, "_NET_WM_STATE"], check=False).decode().strip()
        def toggle(what, done):
            # A player presses Alt+Enter in the focused window; the manager
            # may have moved the focus while the window changed.
            xh.wait_for("the focus", focused, 10, interval=0.2)
            server.run(["xdotool", "key", "--window", window, "alt+Return"])
            try:
                return xh.wait_for(what, done, 5)
            except Failure:
                raise Failure("no %s after Alt+Enter: window %s, %s, active window %s" % (
                    what, window_geometry(server, window), state(),
                    server.run(["xdotool", "getactivewindow"], check=False).decode().strip()))
        granted = state()
        windowed = toggle("window", lambda: geometry_when(
            server, window, lambda g: g[2] < server.width))
        toggle("fullscreen again", lambda: "FULLSCREEN" in state())
        session.wait_frame("the picture in its area again", lambda f: f.letterbox_and_scale_ok() is None, 10)
        report("_NET_WM_STATE_FULLSCREEN" in granted, "a window manager grants fullscreen; Alt+Enter toggles it",
               "%s; window %s" % (granted, windowed))
    except Exception as e:
        report(False, "under a window manager", "%s: %s" % (type(e).__name__, e))
    finally:
        if manager is not None:
            manager.kill()
            manager.wait()
        session.close()

    session = Session(args)
    try:
        session.game = xh.Game([args.stakko, "--window"], session.run_dir, session.x, session.work)
        server = session.x
        # The game may open and close a hidden window of its own at start-up
        # (to ask whether a graphics card renders), which can make a search
        # fail midway: it is simply repeated.
        window = xh.wait_for("the game's window", lambda: server.run(
            ["xdotool", "search", "--name", "^Stakko$"], check=False).split(), 30)[0].decode()
        server.run(["xdotool", "windowfocus", window], check=False)
        windowed = xh.wait_for("the window's size", lambda: geometry_when(
            server, window, lambda g: g[2] > 1), 10)
        smaller = windowed[2] < server.width and windowed[3] < server.height
        server.run(["xdotool", "key", "--window", window, "alt+Return"])
        full = xh.wait_for("fullscreen", lambda: geometry_when(
            server, window, lambda g: g[2:] == (server.width, server.height)), 5)
        server.run(["xdotool", "key", "--window", window, "alt+Return"])
        back = xh.wait_for("the window again", lambda: geometry_when(
            server, window, lambda g: g[2:] == windowed[2:]), 5)
        report(smaller and session.game.alive(), "--window: a window smaller than the screen; Alt+Enter toggles it",
               "window %s, fullscreen %s, window again %s" % (windowed, full, back))
    except Exception as e:
        report(False, "--window and Alt+Enter", "%s: %s" % (type(e).__name__, e))
    finally:
        session.close()
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--stakko", required=True)
    parser.add_argument("--run-dir", required=True)
    parser.add_argument("--case", choices=["full", "no-display", "signals", "desktop"], default="full")
    parser.add_argument("--size", default="1280x1024")
    parser.add_argument("--artifacts")
    parser.add_argument("--keep", action="store_true", help="keep the temporary run folder")
    args = parser.parse_args()
    args.stakko = os.path.abspath(args.stakko)
    args.run_dir = os.path.abspath(args.run_dir)
    if args.case == "no-display":
        return run_no_display(args)
    status = xh.skip_for_missing_tools()
    if status is not None:
        return status
    if args.case == "signals":
        return run_signals(args)
    if args.case == "desktop":
        return run_desktop(args)
    return run_full(args)


if __name__ == "__main__":
    sys.exit(main())
