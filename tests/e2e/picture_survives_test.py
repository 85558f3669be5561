#!/usr/bin/env python3
"""The picture on screens that wait and on screens smaller than it.

    picture_survives_test.py --stakko PATH --sim PATH --run-dir DIR

The high-score table and the how-to picture are shown once, then the game
only waits (20 s each). Alt+Enter on each, with and without a window
manager, must leave that picture at the window's new size and place: it is
compared, pixel for pixel in the game's coordinates, with the frame
stakko-sim dumps for the same screen (under the manager the game runs with
--fps 1000, whose pictures left out must not include a waiting screen's). On 400x200 and 320x240 screens the
whole picture is shrunk into the largest 4:3 area, black bars around.
Exit status 0 when all hold, 1 otherwise, 77 without the X tools (1 under
CI).
"""

import argparse
import os
import shutil
import subprocess
import sys
import threading

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xharness as xh  # noqa: E402
from xharness import Failure  # noqa: E402

SCREEN = (1366, 768)  # fullscreen fills 1024x768; the window is 640x480


def read_png(path):
    """A frame stakko-sim dumped, as one list of pixels, row after row."""
    return [pixel for row in xh.read_png(path) for pixel in row]


def sim_frames(args, work):
    """The table and the how-to picture as stakko-sim shows them: the last
    frame before each screen's wait (the run stops in the middle of it)."""
    run = xh.prepare_run_folder(args.run_dir, os.path.join(work, "sim"))
    frames = {}
    for name, until in (("table", 45000), ("howto", 60000)):
        out = os.path.join(work, "sim", name)
        listing = subprocess.run([args.sim, "--dir", run, "--until-ms", str(until), "--trace"],
                                 stdout=subprocess.PIPE, check=True, timeout=120).stdout.decode()
        last = int(listing.strip().splitlines()[-1].split()[1][2:])
        subprocess.run([args.sim, "--dir", run, "--until-ms", str(until), "--dump-frames", str(last),
                        "--dump-dir", out], stdout=subprocess.DEVNULL, check=True, timeout=120)
        frames[name] = read_png(os.path.join(out, "frame-%d.png" % last))
    return frames


def client_geometry(server, window):
    """(x, y, width, height) of the game's own window on the screen."""
    out = server.run(["xwininfo", "-id", window], check=False).decode()
    values = {}
    for line in out.splitlines():
        key, _, value = line.strip().partition(":")
        values[key] = value.strip()
    try:
        return tuple(int(values[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))
    except (KeyError, ValueError):
        return (0, 0, 0, 0)


def shows(server, window, picture):
    """True when the window shows picture where the game puts it for the
    window's present size, nearly every sampled pixel alike."""
    x, y, w, h = client_geometry(server, window)
    if w <= 1 or h <= 1:
        return False
    server.place_picture(w, h)
    server.left, server.top = server.left + x, server.top + y
    server.columns = [c + x for c in server.columns]
    server.rows = [r + y for r in server.rows]
    if server.left < 0 or server.top < 0 or server.left + server.area_w > SCREEN[0] or \
            server.top + server.area_h > SCREEN[1]:
        return False
    frame = server.capture()
    samples = range(0, xh.GAME_W * xh.GAME_H, 7)
    alike = sum(1 for i in samples if (frame.r[i], frame.g[i], frame.b[i]) == picture[i])
    # The table's picture slides in by the clock, so where it stops may
    # differ by a line from the simulated run's; a wrong or stale picture
    # differs in a fifth of the pixels or more.
    return alike >= 0.98 * len(samples)


def alt_enter_on_waiting_screens(args, frames, manager, results):
    name = "Alt+Enter on the table and the how-to picture, %s" % (
        "under a window manager" if manager else "no window manager")
    work = xh.temp_dir("stakko-e2e-survives-")
    server = xh.XServer(*SCREEN, os.path.join(work, "xvfb.log"))
    wm = game = None
    try:
        if manager:
            wm = subprocess.Popen(["openbox"], env=server.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            xh.wait_for("the window manager", lambda: b"_NET_SUPPORTING_WM_CHECK(WINDOW)" in server.run(
                ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False), 10)
        # Under the manager the game runs paced, which may leave out the
        # very frame a waiting screen shows: it must come on screen anyway.
        command = [args.stakko] + (["--fps", "1000"] if manager else [])
        game = xh.Game(command, xh.prepare_run_folder(args.run_dir, work), server, work)
        window = xh.wait_for("the game's window", lambda: server.run(
            ["xdotool", "search", "--name", "^Stakko$"], check=False).split(), 30)[0].decode()

        def toggle(wanted):
            server.run(["xdotool", "windowactivate" if manager else "windowfocus", window], check=False)
            server.run(["xdotool", "key", "--window", window, "alt+Return"])
            xh.wait_for("the window %s" % wanted, lambda: (client_geometry(server, window)[2] < SCREEN[0]) ==
                        (wanted == "windowed"), 10)

        steps = []
        for picture, wanted, wait in (("table", "windowed", 60), ("howto", "fullscreen", 40)):
            xh.wait_for("the %s" % picture, lambda: game.require_alive() or shows(server, window, frames[picture]),
                        wait, interval=0.2)
            toggle(wanted)
            xh.wait_for("the %s again, %s at %s" % (picture, wanted, client_geometry(server, window)),
                        lambda: shows(server, window, frames[picture]), 5, interval=0.1)
            steps.append("%s %s %s" % (picture, wanted, client_geometry(server, window)))
        results.append((True, name, "; ".join(steps)))
    except Exception as e:  # one session's failure must not hide the other's
        results.append((False, name, "%s: %s" % (type(e).__name__, e)))
    finally:
        if game is not None:
            game.kill()
        if wm is not None:
            wm.kill()
            wm.wait()
        server.stop()
        shutil.rmtree(work, ignore_errors=True)


def small_screen(args, size, results):
    name = "a %dx%d screen shows the whole picture shrunk" % size
    work = xh.temp_dir("stakko-e2e-small-")
    server = xh.XServer(*size, os.path.join(work, "xvfb.log"))
    game = None
    try:
        game_dir = xh.prepare_run_folder(args.run_dir, work)
        game = xh.Game([args.stakko], game_dir, server, work)
        # The title picture (under the fountain's few jewels), whole in its
        # area, nearest-neighbour pixels, black bars around.
        title = xh.load_picture(game_dir, "MainScreen.bmp")
        samples = [(x, y) for y in range(0, xh.GAME_H, 6) for x in range(0, xh.GAME_W, 6)]

        def whole(frame):
            alike = sum(1 for x, y in samples if frame.pixel(x, y) == title.at(x, y))
            return alike >= 0.8 * len(samples) and frame.letterbox_and_scale_ok() is None
        xh.wait_for("the picture in its %dx%d area at (%d,%d)" % (server.area_w, server.area_h, server.left, server.top),
                    lambda: game.require_alive() or whole(server.capture()), 20, interval=0.1)
        results.append((True, name, "area %dx%d at (%d,%d)" % (server.area_w, server.area_h, server.left, server.top)))
    except Exception as e:
        results.append((False, name, "%s: %s" % (type(e).__name__, e)))
    finally:
        if game is not None:
            game.kill()
        server.stop()
        shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--stakko", required=True)
    parser.add_argument("--sim", required=True)
    parser.add_argument("--run-dir", required=True)
    args = parser.parse_args()
    args.stakko, args.sim, args.run_dir = (os.path.abspath(p) for p in (args.stakko, args.sim, args.run_dir))
    status = xh.skip_for_missing_tools()
    if status is not None:
        return status
    if shutil.which("xwininfo") is None:
        print("FAIL     xwininfo not installed (x11-utils)")
        return 1
    work = xh.temp_dir("stakko-e2e-sim-")
    try:
        frames = sim_frames(args, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    results = []
    for size in ((400, 200), (320, 240)):
        small_screen(args, size, results)
    # The two long sessions wait side by side.
    sessions = [threading.Thread(target=alt_enter_on_waiting_screens, args=(args, frames, m, results))
                for m in (False, True)]
    for s in sessions:
        s.start()
    for s in sessions:
        s.join()
    for ok, name, detail in results:
        print("%-8s %s: %s" % ("PASS" if ok else "FAIL", name, detail), flush=True)
    return 0 if all(ok for ok, _, _ in results) else 1


if __name__ == "__main__":
    sys.exit(main())
