#!/usr/bin/env python3
"""A game played in the real window is recorded, and its replay proves it.

The real game runs in Xvfb, driven by xdotool: Space starts a game, the
pieces are moved, cycled and dropped until the well overflows, and a name
is typed into the table. Then stakko-sim must verify the replay the game
kept in Replays, and the frames it dumps from the replay must be the
screens the window showed (screenshots read back at the game's 640x480):
the game-over picture over the final well and the name entry with the
typed name. The replay's final score is the table's.
"""

import argparse
import os
import random
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xharness as xh  # noqa: E402

BLACK = (0, 0, 0)


read_png = xh.read_png


def differing(frame, png):
    return sum(1 for y in range(xh.GAME_H) for x in range(xh.GAME_W) if frame.pixel(x, y) != png[y][x])


def name_entry(frame):
    return (frame.pixel(630, 470) == BLACK and frame.count_not(BLACK, 150, 160, 400, 185) > 30)


def still_frame(server, game, predicate=lambda f: True, timeout=10):
    """A screenshot of one finished frame (the game stopped meanwhile) that
    satisfies predicate, taken twice alike so the screen is at rest."""
    def take():
        if not game.pause():
            game.require_alive()
        try:
            first = server.capture()
            time.sleep(0.05)
            second = server.capture()
        finally:
            game.resume()
        if first.r == second.r and first.g == second.g and first.b == second.b and predicate(first):
            return first
        return None
    return xh.wait_for("a still frame", take, timeout, interval=0.1)


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
    server = xh.XServer(1280, 960, os.path.join(args.artifacts, "xvfb.log"))
    game = None
    try:
        game = xh.Game([args.stakko], run, server, args.artifacts)
        xh.wait_for("the title", lambda: server.capture().count_not(BLACK, 0, 0, 640, 480) > 1000, 20)
        time.sleep(1.0)
        server.tap("space", 0.1)
        time.sleep(5.0)  # the get-ready slide
        # Play: a few moves and a cycle per piece, then the drop, until the
        # well overflows and the name entry comes.
        rng = random.Random(24)
        end = time.monotonic() + 150
        shot = None
        while time.monotonic() < end:
            game.require_alive()
            for _ in range(rng.randint(0, 3)):
                server.tap(rng.choice(["Left", "Right"]), 0.05)
                time.sleep(0.08)
            if rng.random() < 0.5:
                server.tap("Up", 0.05)
                time.sleep(0.08)
            server.tap("space", 0.08)
            time.sleep(0.35)
            frame = server.capture()
            if name_entry(frame):
                break
        else:
            raise xh.Failure("the well never overflowed")
        time.sleep(0.5)
        for key in ["BackSpace"] * 8 + ["r", "p", "l"]:
            server.tap(key, 0.12)
            time.sleep(0.6)
        shot = still_frame(server, game, name_entry)
        shot.save_png(os.path.join(args.artifacts, "window-name-entry.png"))
        server.tap("Return", 0.1)
        table = os.path.join(run, "Data", "highscore.dat")
        rows = xh.wait_for("RPL in the table", lambda: os.path.exists(table) and
                           [r for r in xh.read_high_scores(table) if r[0] == "RPL"], 10)
        files = xh.wait_for("a replay in Replays", lambda: sorted(
            n for n in os.listdir(replays) if n.endswith(".stkr")), 10)
        print("PASS     recorded %s; the table's row %s" % (files, rows[0]))
        game.kill()
        game = None
        replay = os.path.join(replays, files[-1])
        return check_replay(args, server, replay, rows[0], shot)
    finally:
        if game is not None:
            game.kill()
        server.stop()


def check_replay(args, server, replay, row, shot):
    """The recorded game proves row and shows the screens the window did."""
    code, out, err = sim(["--verify", replay], args.sim, args.run_dir)
    if code != 0 or not out.startswith("verified: score %d," % row[1]):
        print("FAIL     stakko-sim --verify: status %d, %s%s" % (code, out, err))
        return 1
    print("PASS     stakko-sim --verify: " + out.strip())
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
    wanted = ["gameover", "highscore row=1", "highscore save ok", "state 7 3"]
    missing = [w for w in wanted if w not in events]
    locks = sum(1 for e in events if e.startswith("lock "))
    if code != 0 or missing or locks < 4:
        print("FAIL     stakko-sim --replay: status %d, missing %s, %d locks: %s" % (code, missing, locks, err))
        return 1
    explosions = sum(1 for e in events if e.startswith("explode "))
    print("PASS     the replay's trace: %d pieces locked, %d explosions, game over, row 1 saved" % (locks, explosions))

    # The name entry as the window showed it: the frame before the one in
    # which Enter was read (that one no longer draws the name).
    saved = [int(m.group(1)) for m in re.finditer(r"^t=\d+ f=(\d+) highscore save ok$", out, re.M)][0]
    over = [int(m.group(1)) for m in re.finditer(r"^t=\d+ f=(\d+) highscore row=1$", out, re.M)][0]
    dump = os.path.join(args.artifacts, "replay-frames")
    code, _out, err = sim(["--replay", replay, "--dump-frames", "%d,%d" % (over, saved - 1), "--dump-dir", dump],
                          args.sim, args.run_dir)
    name_png = read_png(os.path.join(dump, "frame-%d.png" % (saved - 1)))
    diff = differing(shot, name_png)
    if code != 0 or diff != 0:
        print("FAIL     the window's name entry and the replay's frame %d differ in %d pixels" % (saved - 1, diff))
        return 1
    over_png = read_png(os.path.join(dump, "frame-%d.png" % over))
    # The game-over picture at rest over the final well: the name entry's
    # box is drawn over its middle, the rest stays on screen until then,
    # and the replay's last game-over frame must hold the recorded well.
    if over_png[20][20] == BLACK and over_png[470][630] == BLACK and all(
            over_png[y][x] == BLACK for y in range(0, 480, 40) for x in range(0, 640, 40)):
        print("FAIL     the replay's game-over frame %d is empty" % over)
        return 1
    print("PASS     the name entry in the window is the replay's frame %d, pixel for pixel" % (saved - 1))

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
        while game.alive() and time.monotonic() - started < 60:
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
