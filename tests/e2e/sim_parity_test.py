#!/usr/bin/env python3
"""The Windows and the WebAssembly builds play exactly like the Linux one: the
same scenarios run through the Linux stakko-sim and through the other build's
(stakko-sim.exe under wine, or stakko-sim.js under node) must give
byte-identical traces, high-score files and frame dumps, from byte-identical
generated pictures and sounds.

    sim_parity_test.py --native-sim PATH --native-run-dir DIR
                           --other-sim PATH --other-run-dir DIR
                           --kind windows|web --launcher PATH --work DIR

The launcher runs the other program: wine, or node. A Windows program gets
Windows paths; node's program reads the machine's files as they are.

The scenarios: two whole games in a row on one high-score table (dropped
pieces, explosions, level-ups, the game over, a typed name, the save and the
table shown), each recorded by both programs and the recording of each
verified by the other, the attract cycle left alone, the exit dialog answered "No"
and then "Yes", and a start-up whose sound system fails.

The games are played by a fixed script (one piece a second, the columns
taken in turn) until they are over; when that happens depends on the rules,
so each game is first played on Linux alone to find its end, and both
programs then get the same full script with the name typed after it.

Exit status 0 when everything matched, 1 otherwise, 77 when the Linux build
or the launcher is missing (1 instead when CI=true: CI must run this).
"""

import argparse
import filecmp
import os
import re
import shutil
import subprocess
import sys

SKIP = 77
KEY = {"Escape": 1, "Backspace": 14, "Enter": 28, "Space": 57, "Left": 203, "Right": 205}
LETTER = {"A": 30, "E": 18, "L": 38, "O": 24, "Z": 44}
GAME_OPTIONS = ["--frame-us", "5000", "--poll-us", "100"]


class Mismatch(Exception):
    pass


def tap(events, at, key, hold=30):
    events.append((at, "key %d down" % key))
    events.append((at + hold, "key %d up" % key))


def click(events, at, dx, dy):
    events.append((at, "mouse %d %d" % (dx, dy)))
    events.append((at + 100, "button 1 down"))
    events.append((at + 200, "button 1 up"))


def script_text(events):
    return "".join("%d %s\n" % (at, what) for at, what in sorted(events, key=lambda e: e[0]))


def play_phase(until_ms):
    """Space from the title, then one piece a second: held Left takes it to
    the wall, held Right on to its column (the columns taken in turn, so the
    rows fill evenly and lines form), then Space drops it. All keys are up
    by until_ms."""
    events = []
    tap(events, 100, KEY["Space"], 50)
    columns = [0, 5, 1, 4, 2, 3]
    for n, at in enumerate(range(1500, until_ms - 1000, 1000)):
        column = columns[n % len(columns)]
        events += [(at, "key %d down" % KEY["Left"]), (at + 450, "key %d up" % KEY["Left"])]
        if column > 0:  # one step at once, then one each 75 ms held
            events += [(at + 500, "key %d down" % KEY["Right"]),
                       (at + 500 + (column - 1) * 75 + 30, "key %d up" % KEY["Right"])]
        tap(events, at + 900, KEY["Space"], 40)
    return events


class Runner:
    def __init__(self, args):
        self.args = args

    def run_dir(self, kind, name, data_from=None):
        """A fresh copy of the built run folder for one program and scenario,
        with an empty Data folder or a copy of an earlier one."""
        source = self.args.native_run_dir if kind == "linux" else self.args.other_run_dir
        target = os.path.join(self.args.work, name, kind)
        shutil.rmtree(target, ignore_errors=True)
        shutil.copytree(source, target, ignore=shutil.ignore_patterns("Data", "*.stamp"))
        if data_from:
            shutil.copytree(os.path.join(data_from, "Data"), os.path.join(target, "Data"))
        else:
            os.makedirs(os.path.join(target, "Data"))
        return target

    def sim(self, kind, folder, options, script=None, record=False):
        """Runs one program in folder; returns (exit code, stdout bytes). The
        Windows program gets Windows paths (Z: is wine's view of /)."""
        def path(p):
            if kind == "linux" or self.args.kind != "windows":
                return p
            return "Z:" + os.path.abspath(p).replace("/", "\\")
        args = ["--dir", path(folder), "--trace", "--board"] + options
        if script is not None:
            script_path = os.path.join(folder, "script.txt")
            with open(script_path, "w") as f:
                f.write(script)
            args += ["--script", path(script_path)]
        if record:
            args += ["--record", path(os.path.join(folder, "game.stkr"))]
        if "--dump-frames" in options:
            dumps = os.path.join(folder, "frames")
            os.makedirs(dumps, exist_ok=True)
            args += ["--dump-dir", path(dumps)]
        if kind == "linux":
            command = [self.args.native_sim] + args
        else:
            command = [self.args.launcher, self.args.other_sim] + args
        # wine reads the command line in the locale's character set.
        env = dict(os.environ, LC_ALL="C.UTF-8") if kind != "linux" else None
        result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=400, env=env)
        return result.returncode, result.stdout

    def both(self, name, options, script=None, data_from=None, record=False):
        """Runs the scenario in both programs and compares everything; returns
        the Linux run folder and its trace."""
        runs = {}
        for kind in ("linux", "other"):
            folder = self.run_dir(kind, name, data_from[kind] if data_from else None)
            runs[kind] = (folder,) + self.sim(kind, folder, options, script, record)
        (lin_dir, lin_code, lin_out), (win_dir, win_code, win_out) = runs["linux"], runs["other"]
        if lin_code != win_code:
            raise Mismatch("%s: exit codes %d (Linux) and %d (%s)" % (name, lin_code, win_code, self.args.kind))
        if lin_out != win_out:
            for n, (a, b) in enumerate(zip(lin_out.splitlines(), win_out.splitlines())):
                if a != b:
                    raise Mismatch("%s: traces differ at line %d: %r against %r" % (name, n + 1, a, b))
            raise Mismatch("%s: traces differ in length (%d and %d bytes)" % (name, len(lin_out), len(win_out)))
        compared = compare_trees(os.path.join(lin_dir, "Data"), os.path.join(win_dir, "Data"), name)
        frames = 0
        if os.path.isdir(os.path.join(lin_dir, "frames")):
            frames = compare_trees(os.path.join(lin_dir, "frames"), os.path.join(win_dir, "frames"), name)
        trace = lin_out.decode()
        print("PASS     %s: exit code %d, %d trace lines, %d Data files and %d frames identical" % (
            name, lin_code, len(trace.splitlines()), compared, frames), flush=True)
        return {"linux": lin_dir, "other": win_dir}, trace


def compare_trees(a, b, name):
    """Every file of a and b byte-identical (same names); returns how many."""
    names_a = sorted(os.listdir(a)) if os.path.isdir(a) else []
    names_b = sorted(os.listdir(b)) if os.path.isdir(b) else []
    if names_a != names_b:
        raise Mismatch("%s: %s holds %s, %s holds %s" % (name, a, names_a, b, names_b))
    for n in names_a:
        if not filecmp.cmp(os.path.join(a, n), os.path.join(b, n), shallow=False):
            raise Mismatch("%s: %s differs" % (name, os.path.join(b, n)))
    return len(names_a)


def event_time(trace, event):
    m = re.search(r"^t=(\d+) f=\d+ %s$" % re.escape(event), trace, re.M)
    return int(m.group(1)) if m else None


def require(trace, name, events):
    missing = [e for e in events if not re.search(r"^t=\d+ f=\d+ %s" % e, trace, re.M)]
    if missing:
        raise Mismatch("%s: the trace lacks %s" % (name, ", ".join(missing)))


def play_game(runner, name, seed, typed, data_from=None):
    """One whole game, its name typed and saved, the table shown."""
    options = ["--seed", str(seed)] + GAME_OPTIONS
    # Where does it end? Linux alone, playing for up to two minutes.
    probe = runner.run_dir("linux", name + "-probe", data_from["linux"] if data_from else None)
    _code, out = runner.sim("linux", probe, options + ["--until-ms", "120000"],
                            script_text(play_phase(120000)))
    over = event_time(out.decode(), "state 6 7")
    if over is None:
        raise Mismatch("%s: no game over within two minutes of play" % name)
    # The same play up to the game over, then the offered name rubbed out,
    # ours typed (each key after the entry's 250 ms gate) and Enter.
    events = [e for e in play_phase(120000) if e[0] < over]
    events += [(over, "key %d up" % k) for k in (KEY["Left"], KEY["Right"], KEY["Space"])]
    at = over + 4000
    for key in [KEY["Backspace"]] * 6 + [LETTER[c] for c in typed]:
        tap(events, at, key)
        at += 300
    tap(events, at, KEY["Enter"], 100)
    end = at + 6000
    frames = "1,%d-%d,%d" % (over // 5, over // 5 + 3, end // 5 - 1)
    folders, trace = runner.both(name, options + ["--until-ms", str(end), "--dump-frames", frames],
                                 script_text(events), data_from, record=True)
    require(trace, name, ["state 5 6", "explode", "levelup", "gameover", "highscore row=",
                          "highscore save ok", "state 7 3"])
    cross_verify(runner, name, folders)
    return folders


def cross_verify(runner, name, folders):
    """The game each system recorded verifies on the other."""
    label = {"linux": "linux", "other": runner.args.kind}
    for recorded, verifier in (("linux", "other"), ("other", "linux")):
        replay = os.path.join(folders[recorded], "game.stkr")
        windows = verifier == "other" and runner.args.kind == "windows"
        replay_arg = "Z:" + os.path.abspath(replay).replace("/", "\\") if windows else replay
        run = runner.run_dir(verifier, name + "-verify-" + recorded)
        code, out = runner.sim(verifier, run, ["--verify", replay_arg])
        if code != 0 or not out.startswith(b"verified: "):
            raise Mismatch("%s: the %s replay does not verify on %s: %r" % (
                name, label[recorded], label[verifier], out))
        print("PASS     %s: the %s replay verifies on %s: %s" % (
            name, label[recorded], label[verifier], out.decode().strip()), flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for option in ("--native-sim", "--native-run-dir", "--other-sim", "--other-run-dir", "--launcher", "--work"):
        parser.add_argument(option, required=True)
    parser.add_argument("--kind", choices=("windows", "web"), required=True)
    args = parser.parse_args()
    ci = os.environ.get("CI") == "true"
    missing = [p for p in (args.native_sim, args.other_sim, args.launcher) if not os.path.exists(p)]
    missing += [d for d in (args.native_run_dir, args.other_run_dir) if not os.path.isdir(d)]
    if missing:
        print("%s: missing %s (build the Linux tree first: scripts/test.sh)" % (
            "FAIL" if ci else "skipped", ", ".join(missing)))
        return 1 if ci else SKIP
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    runner = Runner(args)
    try:
        # The generator's output on both systems.
        count = sum(compare_trees(os.path.join(args.native_run_dir, d), os.path.join(args.other_run_dir, d), "assets")
                    for d in ("graphics", "Sound"))
        print("PASS     assets: %d pictures and sounds identical" % count, flush=True)

        # Seeds whose games reach a level-up with this way of playing.
        first = play_game(runner, "game-1", 5, "ZOE")
        play_game(runner, "game-2", 16, "AL", data_from=first)

        _, trace = runner.both("attract", ["--frame-us", "5000", "--until-ms", "80000",
                                           "--dump-frames", "1,20,40,400,3000,5500,6003,6004,6045"])
        require(trace, "attract", ["state 1 2", "state 2 3", "state 3 4", "state 4 1"])

        events = []
        tap(events, 1000, KEY["Escape"], 100)
        click(events, 2000, 224 + 27, 250 + 10)       # "No"
        tap(events, 4000, KEY["Escape"], 100)
        click(events, 5000, 361 - 224, 0)             # on to "Yes"
        # Letters outside any one code page in the run folder's name: --dir,
        # --script and --dump-dir must reach it all the same.
        name = "exit-dialog-\u00f1and\u00fa-\u03a9\u03bc\u03ad\u03b3\u03b1"
        _, trace = runner.both(name, ["--until-ms", "20000", "--dump-frames", "1500,2150,4500,5150"],
                               script_text(events))
        require(trace, name, [r"state \d+ 25", r"state 25 \d+", "end code=0"])

        _, trace = runner.both("startup-failure", ["--fail", "sound", "--until-ms", "5000"])
        require(trace, "startup-failure", ['msgbox "Error!" "Unable to Initialize game settings."', "end code="])
    except (Mismatch, subprocess.TimeoutExpired) as e:
        print("FAIL     %s" % e)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
