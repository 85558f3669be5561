#!/usr/bin/env python3
"""`cmake --install` into a temporary prefix, then the installed launcher
under Xvfb with a temporary XDG data folder.

    install_test.py --build-dir DIR [--cmake PATH] [--artifacts DIR]

Checks the installed layout (launcher, game, read-only pictures and sounds,
desktop entry, icons at every size, AppStream metainfo, manual page,
copyright), then plays through the launcher:
the game starts in $XDG_DATA_HOME/stakko, whose "graphics" and "Sound" link
to the installation and whose "Data" folder receives the high scores, while
nothing is written under the prefix. Exit status as real_window_test.py.
"""

import argparse
import os
import shutil
import stat
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import real_window_test as rw  # noqa: E402
import xharness as xh  # noqa: E402
from xharness import Failure  # noqa: E402

APP_ID = "io.github.stakko.Stakko"


ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)


def png_size(path):
    """(width, height) of a PNG file, or None when it is not one."""
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return int.from_bytes(head[16:20], "big"), int.from_bytes(head[20:24], "big")


def check_layout(prefix, bindir="bin", system=False):
    """Problems with the installed files, as a list of sentences. A system
    package's files belong to root, so only group and others must not be
    able to write the share data; a player's own installation keeps it
    read-only for the player too."""
    import gzip
    import xml.etree.ElementTree as ET
    problems = []
    def need(rel, executable=False):
        path = os.path.join(prefix, rel)
        if not os.path.isfile(path):
            problems.append("missing " + rel)
        elif executable and not os.access(path, os.X_OK):
            problems.append(rel + " is not executable")
        return path
    need(bindir + "/stakko", executable=True)
    need("libexec/stakko/stakko", executable=True)
    for name in ("MainScreen.bmp", "Jewels.bmp", "Icon.bmp"):
        need("share/stakko/graphics/" + name)
    for name in ("Stakko.wav", "Nu Battle.wav"):
        need("share/stakko/Sound/" + name)
    write_bits = stat.S_IWGRP | stat.S_IWOTH if system else stat.S_IWUSR | stat.S_IWGRP | stat.S_IWOTH
    for folder in ("graphics", "Sound"):
        base = os.path.join(prefix, "share/stakko", folder)
        for entry in os.listdir(base) if os.path.isdir(base) else []:
            if os.stat(os.path.join(base, entry)).st_mode & write_bits:
                problems.append("share/stakko/%s/%s is writable" % (folder, entry))
    desktop = need("share/applications/%s.desktop" % APP_ID)
    if os.path.isfile(desktop):
        text = open(desktop).read()
        for line in ("[Desktop Entry]", "Exec=stakko", "Icon=" + APP_ID, "Type=Application"):
            if line not in text:
                problems.append("desktop entry lacks " + line)
    for size in ICON_SIZES:
        rel = "share/icons/hicolor/%dx%d/apps/%s.png" % (size, size, APP_ID)
        icon = need(rel)
        if os.path.isfile(icon) and png_size(icon) != (size, size):
            problems.append("%s is not a %dx%d PNG (%s)" % (rel, size, size, png_size(icon)))
        # Small icons are mostly edges; the large ones must be a tenth of raw.
        elif os.path.isfile(icon) and size >= 128 and os.path.getsize(icon) * 10 > size * size * 4:
            problems.append("%s is not compressed (%d bytes)" % (rel, os.path.getsize(icon)))
    svg = need("share/icons/hicolor/scalable/apps/%s.svg" % APP_ID)
    if os.path.isfile(svg):
        try:
            root = ET.parse(svg).getroot()
            if root.tag != "{http://www.w3.org/2000/svg}svg" or not root.get("viewBox"):
                problems.append("the scalable icon is not an SVG with a viewBox")
        except ET.ParseError as e:
            problems.append("the scalable icon is not XML: %s" % e)
    meta = need("share/metainfo/%s.metainfo.xml" % APP_ID)
    if os.path.isfile(meta):
        root = ET.parse(meta).getroot()
        if root.findtext("id") != APP_ID or root.find("launchable") is None:
            problems.append("metainfo lacks its id or launchable")
    man = need("share/man/man6/stakko.6.gz")
    if os.path.isfile(man) and not gzip.open(man).read().startswith(b".TH STAKKO 6"):
        problems.append("the manual page is not stakko(6)")
    need("share/doc/stakko/copyright")
    return problems


class InstalledSession(rw.Session):
    def check_layout(self):
        problems = check_layout(self.prefix, self.bindir, self.system)
        # The launcher hands the game its options.
        env = dict(os.environ, **self.env)
        launcher = self.command[0]
        shown = subprocess.run([launcher, "--help"], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=30)
        if shown.returncode != 0 or b"--window" not in shown.stdout:
            problems.append("launcher --help: status %d, %r" % (shown.returncode, shown.stdout[:200]))
        refused = subprocess.run([launcher, "--no-such-option"], env=env, stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE, timeout=30)
        if refused.returncode != 2:
            problems.append("launcher --no-such-option: status %d" % refused.returncode)
        version = subprocess.run([launcher, "--version"], env=env, stdout=subprocess.PIPE, timeout=30)
        if version.returncode != 0 or not version.stdout.startswith(b"stakko " + self.version.encode()):
            problems.append("launcher --version: status %d, %r" % (version.returncode, version.stdout[:80]))
        # None of these three made the player's folder or a settings file.
        for made in (os.path.join(self.xdg, "stakko"), os.path.join(self.home, ".config")):
            if os.path.exists(made):
                problems.append("--help, --version or a refused option made " + made)
        # A relative HOME (with no usable XDG_DATA_HOME) would put the
        # player's folder under whatever folder the launcher started in. (A
        # start that would play: --help is answered before any folder.)
        scratch = tempfile.mkdtemp(prefix="stakko-relhome-")
        try:
            env_rel = {k: v for k, v in env.items() if k != "XDG_DATA_HOME"}
            env_rel.update(HOME="rel", XDG_DATA_HOME="also/rel")
            rel = subprocess.run([launcher, "--window"], env=env_rel, cwd=scratch, stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE, timeout=30)
            if rel.returncode == 0 or b"HOME" not in rel.stderr or os.listdir(scratch):
                problems.append("launcher with HOME=rel: status %d, %r, made %s" % (
                    rel.returncode, rel.stderr[:200], os.listdir(scratch)))
        finally:
            shutil.rmtree(scratch, ignore_errors=True)
        if problems:
            raise Failure("; ".join(problems))
        return ("launcher, game, read-only share data, desktop entry, icons, metainfo, manual page in place; "
                "the launcher passes options on")

    def check_player_folder(self):
        folder = os.path.join(self.xdg, "stakko")
        for name in ("graphics", "Sound"):
            link = os.path.join(folder, name)
            want = os.path.join(os.path.realpath(self.prefix), "share/stakko", name)
            if not os.path.islink(link) or os.path.realpath(link) != want:
                raise Failure("%s is not a link to %s" % (link, want))
        if not os.path.isdir(os.path.join(folder, "Data")):
            raise Failure("no Data folder in " + folder)
        return "the game runs in %s with its own Data folder and links to the installation" % folder

    def check_nothing_written_to_prefix(self):
        strays = []
        for root, dirs, files in os.walk(self.prefix):
            for name in dirs + files:
                if name == "Data" or name.endswith(".dat"):
                    strays.append(os.path.join(root, name))
        if strays:
            raise Failure("written under the prefix: %s" % strays)
        return "nothing of the player's under the prefix"

    check_layout.needs_game = False
    check_nothing_written_to_prefix.needs_game = False


CHECKS = [
    ("installed layout", "check_layout", []),
    ("title appears and ripples", "check_title_ripples", ["installed layout"]),
    ("window covers the screen", "check_window", ["installed layout"]),
    ("player's folder under XDG_DATA_HOME", "check_player_folder", ["window covers the screen"]),
    ("Space starts a game, get-ready crosses", "check_get_ready", ["window covers the screen"]),
    ("play screen: panel and falling piece", "check_play_screen", ["Space starts a game, get-ready crosses"]),
    ("overflow: game-over picture falls", "check_game_over", ["play screen: panel and falling piece"]),
    ("typed name lands in Data/highscore.dat", "check_name_saved", ["overflow: game-over picture falls"]),
    ("Escape, Yes: exit code 0", "check_dialog_yes", ["window covers the screen"]),
    ("nothing written under the prefix", "check_nothing_written_to_prefix", ["installed layout"]),
]


def play_installed(args, prefix, work, bindir="bin", system=False):
    """The checks above on an installation at prefix, its launcher run
    under Xvfb with HOME and XDG_DATA_HOME inside work; True when all pass."""
    xdg = os.path.join(work, "xdg")
    home = os.path.join(work, "home")
    os.makedirs(home, exist_ok=True)
    env = {"XDG_DATA_HOME": xdg, "HOME": home}
    session = InstalledSession(args, command=[os.path.join(prefix, bindir, "stakko")], cwd=work, env=env,
                               assets_dir=os.path.join(prefix, "share", "stakko"),
                               data_dir=os.path.join(xdg, "stakko", "Data"))
    session.prefix, session.xdg, session.bindir, session.system = prefix, xdg, bindir, system
    session.home, session.version = home, args.version
    results = rw.run_checks(session, CHECKS)
    return all(state == "PASS" for state, _ in results.values())


def remove_tree(work):
    # The installed share data may be read-only; make it removable.
    for root, dirs, files in os.walk(work):
        for name in dirs + files:
            try:
                os.chmod(os.path.join(root, name), 0o755, follow_symlinks=False)
            except (OSError, NotImplementedError):
                pass
    shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--cmake", default="cmake")
    parser.add_argument("--size", default="1280x1024")
    parser.add_argument("--version", required=True, help="the version the game must report")
    parser.add_argument("--artifacts")
    parser.add_argument("--keep", action="store_true")
    args = parser.parse_args()
    status = xh.skip_for_missing_tools()
    if status is not None:
        return status
    work = xh.temp_dir("stakko-install-")
    prefix = os.path.join(work, "prefix")
    try:
        result = subprocess.run([args.cmake, "--install", args.build_dir, "--prefix", prefix],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
        if result.returncode != 0:
            print("FAIL     cmake --install: " + result.stdout.decode(errors="replace")[-2000:])
            return 1
        return 0 if play_installed(args, prefix, work) else 1
    finally:
        if not args.keep:
            remove_tree(work)


if __name__ == "__main__":
    sys.exit(main())
