#!/usr/bin/env python3
"""The Windows zip as a player gets it: unpacked, stakko.exe run under wine
in a private X server, played with real key and mouse events.

    windows_zip_test.py --zip dist/stakko-<version>-windows-x64.zip --wine PATH
                        [--size WxH] [--artifacts DIR] [--keep]

Checks the zip's layout, then, with stakko.exe started from another folder
(as a shortcut or a command prompt may), the same things a player sees on
Linux
(real_window_test.py): the title appears, Escape opens the exit dialog and
"No" returns, Space starts a game, Left, Right, Up and Space act on the
piece, a game over with a typed name leaves the name in Data\\highscore.dat,
and Escape with "Yes" ends the process with exit code 0.

Exit status: 0 when every check passed, 1 otherwise, 77 when Xvfb, xdotool,
xwd or wine is missing (CTest turns 77 into a failure in CI).
"""

import argparse
import os
import shutil
import subprocess
import sys
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import real_window_test as rw  # noqa: E402
import xharness as xh  # noqa: E402
from xharness import Failure  # noqa: E402

ZIP_FILES = ["stakko.exe", "SDL2.dll", "README.txt"]
ZIP_FOLDERS = ["graphics", "Sound", "Data", "Replays"]


def check_zip(path):
    """Problems with the zip's contents; the game's folders must be there,
    Data empty, and nothing but Windows itself needed beside the DLL."""
    problems = []
    with zipfile.ZipFile(path) as z:
        names = z.namelist()
    tops = {n.split("/")[0] for n in names}
    for name in ZIP_FILES + ZIP_FOLDERS:
        if name not in tops:
            problems.append("%s missing" % name)
    for folder in ("Data", "Replays"):
        if any(n.startswith(folder + "/") and n != folder + "/" for n in names):
            problems.append("%s is not empty" % folder)
    for folder, kind in (("graphics", ".bmp"), ("Sound", ".wav")):
        if not any(n.startswith(folder + "/") and n.lower().endswith(kind) for n in names):
            problems.append("no %s files in %s" % (kind, folder))
    return problems


def imported_dlls(objdump, exe):
    out = subprocess.run([objdump, "-p", exe], stdout=subprocess.PIPE, check=True).stdout.decode()
    return sorted({line.split(":", 1)[1].strip() for line in out.splitlines() if "DLL Name:" in line})


def exe_facts(objdump, exe):
    """Subsystem, resources and imports of the executable."""
    problems = []
    out = subprocess.run([objdump, "-p", exe], stdout=subprocess.PIPE, check=True).stdout.decode()
    if "Subsystem\t\t00000002" not in out:
        problems.append("stakko.exe is not a GUI program")
    headers = subprocess.run([objdump, "-h", exe], stdout=subprocess.PIPE, check=True).stdout.decode()
    if ".rsrc" not in headers:
        problems.append("stakko.exe has no resources (icon, version)")
    # Only SDL2 and DLLs every Windows has: the C and C++ runtimes are inside.
    for dll in imported_dlls(objdump, exe):
        low = dll.lower()
        if low.startswith(("libstdc++", "libgcc", "libwinpthread")):
            problems.append("stakko.exe needs %s" % dll)
    return problems


class ZipSession(rw.Session):
    def check_zip_layout(self):
        problems = check_zip(self.zip) + exe_facts(self.objdump, os.path.join(self.assets_dir, "stakko.exe"))
        if problems:
            raise Failure("; ".join(problems))
        return ("stakko.exe (GUI, with resources, runtimes inside), SDL2.dll, README.txt, graphics, Sound, "
                "empty Data and Replays")

    check_zip_layout.needs_game = False

    def check_replay_verifies(self):
        # The game just played was kept in Replays once its table was shown;
        # the Linux scenario runner must verify what stakko.exe recorded.
        if not self.native_sim:
            raise Failure("no Linux stakko-sim given (--native-sim)")
        # Beside stakko.exe, not in the folder it was started from.
        folder = os.path.join(self.assets_dir, "Replays")
        files = xh.wait_for("a replay in Replays", lambda: os.path.isdir(folder) and sorted(
            n for n in os.listdir(folder) if n.endswith(".stkr")), 15)
        result = subprocess.run([self.native_sim, "--dir", self.native_run_dir, "--verify",
                                 os.path.join(folder, files[-1])], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                timeout=120)
        out = result.stdout.decode().strip()
        if result.returncode != 0 or not out.startswith("verified: "):
            raise Failure("stakko.exe's replay does not verify on Linux: %s %s" % (out, result.stderr.decode()))
        return "stakko.exe's replay %s verifies on Linux: %s" % (files[-1], out)

    check_replay_verifies.needs_game = False


CHECKS = [
    ("zip layout and executable", "check_zip_layout", []),
    ("title appears and ripples", "check_title_ripples", ["zip layout and executable"]),
    ("window covers the screen", "check_window", ["title appears and ripples"]),
    ("Escape opens the dialog, No returns", "check_dialog_no", ["window covers the screen"]),
    ("Space starts a game, get-ready crosses", "check_get_ready", ["window covers the screen"]),
    ("play screen: panel and falling piece", "check_play_screen", ["Space starts a game, get-ready crosses"]),
    ("Left, Right, Up and Space act on the piece", "check_piece_keys", ["play screen: panel and falling piece"]),
    ("overflow: game-over picture falls", "check_game_over", ["play screen: panel and falling piece"]),
    ("typed name lands in Data\\highscore.dat", "check_name_saved", ["overflow: game-over picture falls"]),
    ("the game is kept in Replays and verifies on Linux", "check_replay_verifies",
     ["typed name lands in Data\\highscore.dat"]),
    ("Escape, Yes: exit code 0", "check_dialog_yes", ["window covers the screen"]),
]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--zip", required=True)
    parser.add_argument("--wine", required=True)
    parser.add_argument("--objdump", default="x86_64-w64-mingw32-objdump")
    parser.add_argument("--size", default="640x480")
    parser.add_argument("--artifacts")
    parser.add_argument("--keep", action="store_true")
    parser.add_argument("--native-sim", help="a Linux stakko-sim that must verify the recorded game")
    parser.add_argument("--native-run-dir", help="its run folder")
    args = parser.parse_args()
    missing = xh.tools_missing() + [t for t in (args.wine, args.objdump) if shutil.which(t) is None]
    if missing:
        ci = os.environ.get("CI") == "true"
        print("%s: %s not installed (scripts/package-windows.sh installs them)" % (
            "FAIL" if ci else "skipped", ", ".join(missing)))
        return 1 if ci else xh.SKIP
    if not os.path.isfile(args.zip):
        print("FAIL     %s does not exist (scripts/package.sh windows makes it)" % args.zip)
        return 1
    work = xh.temp_dir("stakko-windows-zip-")
    game = os.path.join(work, "Stakko")
    try:
        with zipfile.ZipFile(args.zip) as z:
            z.extractall(game)
        env = {
            "WINEPREFIX": os.path.join(work, "wine"),
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            # No sound card here: SDL's silent output, asked for by name.
            "SDL_AUDIODRIVER": "dummy",
        }
        # Started from elsewhere: the game must find its files beside itself.
        elsewhere = os.path.join(work, "elsewhere")
        os.makedirs(elsewhere)
        session = ZipSession(args, command=[args.wine, os.path.join(game, "stakko.exe")], cwd=elsewhere, env=env,
                             assets_dir=game, data_dir=os.path.join(game, "Data"))
        session.zip, session.objdump = args.zip, args.objdump
        session.native_sim, session.native_run_dir = args.native_sim, args.native_run_dir
        results = rw.run_checks(session, CHECKS)
        return 0 if all(state == "PASS" for state, _ in results.values()) else 1
    finally:
        # The prefix's wine server, beside the wine program, may linger.
        wineserver = os.path.join(os.path.dirname(os.path.realpath(args.wine)), "wineserver")
        if os.path.exists(wineserver):
            subprocess.run([wineserver, "-k"], env=dict(os.environ, WINEPREFIX=os.path.join(work, "wine")),
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
