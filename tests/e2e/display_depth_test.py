#!/usr/bin/env python3
"""Displays that are not 24-bit: the game says on the standard error what it
does with them. An 8-bit display, which nothing of ours can show, is named
even without --verbose; on 16- and 30-bit displays --verbose names the
depth the chosen path converts to.

    display_depth_test.py --stakko PATH --run-dir DIR

Exit status 0 when every depth was reported, 1 otherwise, 77 when Xvfb is
missing (1 instead when CI=true).
"""

import argparse
import os
import re
import shutil
import sys

import xharness as xh

CASES = (  # depth, options, what stderr must say
    (8, [], r"the display's format \(8-bit.*\) cannot be shown"),
    (16, ["--verbose"], r"presenting with .*16-bit"),
    (30, ["--verbose"], r"presenting with .*30-bit"),
)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--stakko", required=True)
    parser.add_argument("--run-dir", required=True)
    args = parser.parse_args()
    status = xh.skip_for_missing_tools()
    if status is not None:
        return status
    work = xh.temp_dir("stakko-e2e-depth-")
    failures = 0
    try:
        run_dir = xh.prepare_run_folder(os.path.abspath(args.run_dir), work)
        for depth, options, wanted in CASES:
            log_dir = os.path.join(work, str(depth))
            os.makedirs(log_dir)
            server = xh.XServer(640, 480, os.path.join(log_dir, "xvfb.log"),
                                ("-screen", "0", "640x480x%d" % depth))
            game = xh.Game([os.path.abspath(args.stakko)] + options, run_dir, server, log_dir)
            try:
                xh.wait_for("the message", lambda: re.search(wanted, game.stderr_text()), 30, 0.1)
                print("PASS     %d-bit: %s" % (depth, game.stderr_text().splitlines()[-1]), flush=True)
            except xh.Failure as e:
                failures += 1
                print("FAIL     %d-bit: %s; stderr: %r" % (depth, e, game.stderr_text()), flush=True)
            finally:
                game.kill()
                server.stop()
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
