#!/usr/bin/env python3
"""What a player chooses, in the real game under Xvfb.

    player_choices_test.py --stakko PATH --run-dir DIR --case sound|close|settings [--artifacts DIR]

"sound": with an audio driver that cannot open, the game without options
ends with status 1 after its start-up box and says on the standard error
that the sound service failed and that --no-sound plays silently; with
--no-sound it plays a whole game (start, play, game over, name into the
table, "Yes").
"close": under openbox the window's close (Alt+F4) ends a windowed game
with status 0 and the table untouched; a fullscreen game goes on.
"settings": the settings file's choices take effect, options win over
them, a malformed file is reported and left byte for byte, and Alt+Enter's
choice (and --save-settings) holds at the next start.
Exit status 0 when all passed, 1 otherwise, 77 without Xvfb or xdotool
(under CI, 1).
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import real_window_test as rw  # noqa: E402
import xharness as xh  # noqa: E402
from xharness import Failure  # noqa: E402

NO_AUDIO = {"SDL_AUDIODRIVER": "no-such-driver"}


class Report:
    def __init__(self):
        self.failed = 0

    def __call__(self, ok, name, detail):
        print("%-8s %s: %s" % ("PASS" if ok else "FAIL", name, detail), flush=True)
        self.failed += 0 if ok else 1


def game_window(server):
    return xh.wait_for("the game's window", lambda: server.run(
        ["xdotool", "search", "--name", "^Stakko$"], check=False).split(), 30)[0].decode()


def run_sound(args, report):
    work = xh.temp_dir("stakko-e2e-sound-")
    server = xh.XServer(640, 480, os.path.join(work, "xvfb.log"))
    try:
        run_dir = xh.prepare_run_folder(args.run_dir, work)
        game = xh.Game([args.stakko], run_dir, server, work, NO_AUDIO)
        try:
            # SDL names the box in a way xdotool's search misses; xwininfo sees it.
            def box_window():
                tree = server.run(["xwininfo", "-root", "-children"], check=False).decode()
                return next((line.split()[0] for line in tree.splitlines() if '"Error!"' in line), None)
            box = xh.wait_for("the start-up box", box_window, 30)
            server.run(["xdotool", "windowfocus", box], check=False)
            server.run(["xdotool", "key", "Return"])
            code = game.wait_exit(10)
            said = game.stderr_text()
            report(code == 1 and "sound service" in said and "--no-sound" in said,
                   "no sound device: status 1, the sound service named", "status %d, stderr %r" % (code, said))
        except Failure as e:
            report(False, "no sound device", "%s (stderr %r)" % (e, game.stderr_text()))
        finally:
            game.kill()
    finally:
        server.stop()
        shutil.rmtree(work, ignore_errors=True)

    work = xh.temp_dir("stakko-e2e-nosound-")
    try:
        run_dir = xh.prepare_run_folder(args.run_dir, work)
        session = rw.Session(args, command=[args.stakko, "--no-sound"], cwd=run_dir, env=NO_AUDIO,
                             assets_dir=run_dir, data_dir=os.path.join(run_dir, "Data"))
        checks = [c for c in rw.CHECKS if c[1] not in ("check_dialog_no", "check_piece_keys")]
        results = rw.run_checks(session, checks)
        report(all(state == "PASS" for state, _ in results.values()), "--no-sound without a device: a whole game",
               "%d checks" % len(results))
    finally:
        shutil.rmtree(work, ignore_errors=True)


def run_close(args, report):
    work = xh.temp_dir("stakko-e2e-close-")
    server = xh.XServer(1280, 1024, os.path.join(work, "xvfb.log"))
    manager = subprocess.Popen(["openbox"], env=server.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        xh.wait_for("the window manager", lambda: b"_NET_SUPPORTING_WM_CHECK(WINDOW)" in server.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False), 10)
        for windowed in (True, False):
            name = "windowed" if windowed else "fullscreen"
            run_dir = xh.prepare_run_folder(args.run_dir, os.path.join(work, name))
            table = os.path.join(run_dir, "Data", "highscore.dat")
            kept = b"".join(bytes([3]) + b"WIN" + (9000 - 100 * r).to_bytes(4, "little") + b"09-DEC-2026" +
                            (1).to_bytes(4, "little") for r in range(10))
            with open(table, "wb") as f:
                f.write(kept)
            game = xh.Game([args.stakko] + (["--window"] if windowed else []), run_dir, server,
                           os.path.join(work, name))
            try:
                window = game_window(server)
                xh.wait_for("the title", lambda: not server.capture().is_uniform(rw.BLACK, step=20), 30)

                def focused():
                    server.run(["xdotool", "windowactivate", window], check=False)
                    return server.run(["xdotool", "getactivewindow"], check=False).strip() == window.encode()
                xh.wait_for("the focus", focused, 10, interval=0.2)
                server.run(["xdotool", "key", "alt+F4"])
                if windowed:
                    code = game.wait_exit(5)
                    with open(table, "rb") as f:
                        intact = f.read() == kept
                    report(code == 0 and intact, "close button on a window",
                           "status %d, table %s" % (code, "intact" if intact else "CHANGED"))
                else:
                    time.sleep(1.5)
                    report(game.alive(), "close on a fullscreen game", "still playing" if game.alive() else
                           "ended with %s" % game.proc.returncode)
            except Failure as e:
                report(False, "close " + name, "%s (stderr %r)" % (e, game.stderr_text()))
            finally:
                game.kill()
    finally:
        manager.kill()
        manager.wait()
        server.stop()
        shutil.rmtree(work, ignore_errors=True)


def run_settings(args, report):
    work = xh.temp_dir("stakko-e2e-settings-")
    server = xh.XServer(1280, 1024, os.path.join(work, "xvfb.log"))
    config = os.path.join(work, "config")
    settings = os.path.join(config, "stakko", "settings.ini")
    run_dir = xh.prepare_run_folder(args.run_dir, work)
    starts = [0]

    def start(options=()):
        starts[0] += 1
        log = os.path.join(work, "start%d" % starts[0])
        os.makedirs(log)
        game = xh.Game([args.stakko] + list(options), run_dir, server, log, {"XDG_CONFIG_HOME": config})
        window = game_window(server)
        server.run(["xdotool", "windowfocus", window], check=False)
        return game, window

    def size_once(window, wanted):
        return xh.wait_for("the window's size", lambda: rw.geometry_when(server, window, wanted), 10)[2:]

    def settings_text():
        with open(settings, "rb") as f:
            return f.read()

    def write_settings(data):
        os.makedirs(os.path.dirname(settings), exist_ok=True)
        with open(settings, "wb") as f:
            f.write(data)

    full = (server.width, server.height)
    steps = [
        # (name, settings file or None to leave it, options, the window's size, then)
        ("the file's window and size", b"mode = window\nsize = 800x600\nvolume = 40\n", [], (800, 600), None),
        ("--size wins over the file's", None, ["--size", "960x720"], (960, 720), None),
        ("--fullscreen wins over the file's window", None, ["--fullscreen"], full, None),
        ("a malformed file: reported, ignored, left as it was", b"mode = window\nvolume = loud\n", [], full,
         "alt+Return"),
        ("no file: fullscreen, none written; Alt+Enter's window kept", None, [], full, "alt+Return"),
        ("the next start: a window", None, ["--scale", "integer", "--save-settings"], "smaller", None),
    ]
    try:
        for name, data, options, wanted, then in steps:
            if name.startswith("no file"):
                os.remove(settings)
            elif data is not None:
                write_settings(data)
            before = settings_text() if os.path.exists(settings) else None
            game, window = start(options)
            try:
                if wanted == "smaller":
                    got = size_once(window, lambda g: g[2] > 1 and tuple(g[2:]) != full)
                else:
                    got = size_once(window, lambda g: tuple(g[2:]) == wanted)
                detail = "window %dx%d" % got
                ok = True
                if name.startswith("no file"):
                    ok = not os.path.exists(settings)
                if then:
                    # A key before the first frame could meet a window not yet reading keys.
                    xh.wait_for("the title", lambda: not server.capture().is_uniform(rw.BLACK, step=20), 30)
                    server.run(["xdotool", "key", "--window", window, then])
                    size_once(window, lambda g: g[2] > 1 and tuple(g[2:]) != full)
                    time.sleep(0.3)
                if name.startswith("a malformed"):
                    said = game.stderr_text()
                    ok = "settings are ignored" in said and settings_text() == before
                    detail += "; stderr %r" % said
                elif name.startswith("no file"):
                    ok = ok and os.path.exists(settings) and b"mode = window" in settings_text()
                    detail += "; file %r" % (settings_text() if os.path.exists(settings) else None)
                elif "--save-settings" in options:
                    text = settings_text()
                    ok = b"mode = window\n" in text and b"scale = integer\n" in text and b"volume = 100\n" in text
                    detail += "; saved %r" % text
                report(ok and game.alive(), name, detail)
            except Failure as e:
                report(False, name, "%s (stderr %r)" % (e, game.stderr_text()))
            finally:
                os.kill(game.pid, signal.SIGTERM)
                try:
                    game.wait_exit(5)
                except Failure:
                    pass
                game.kill()
    finally:
        server.stop()
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--stakko", required=True)
    parser.add_argument("--run-dir", required=True)
    parser.add_argument("--case", choices=["sound", "close", "settings"], required=True)
    parser.add_argument("--size", default="1280x1024")
    parser.add_argument("--artifacts")
    parser.add_argument("--keep", action="store_true")
    args = parser.parse_args()
    args.stakko = os.path.abspath(args.stakko)
    args.run_dir = os.path.abspath(args.run_dir)
    status = xh.skip_for_missing_tools()
    if status is not None:
        return status
    report = Report()
    {"sound": run_sound, "close": run_close, "settings": run_settings}[args.case](args, report)
    return 1 if report.failed else 0


if __name__ == "__main__":
    sys.exit(main())
