#!/usr/bin/env python3
"""The Debian package as a player gets it: its control fields, lintian, the
desktop-entry and AppStream validators on its files, then the package
unpacked into a temporary root (dpkg-deb -x; nothing is installed on this
machine) and its launcher played under Xvfb as install_test.py does.

    deb_test.py [--deb FILE] [--source-dir DIR] [--artifacts DIR] [--keep]

Without --deb it takes dist/stakko_<version>_<arch>.deb for the version in
CMakeLists.txt (scripts/package.sh deb writes it). Exit status 0 when every
check passes, else 1; 77 (skipped) when tools are missing, except with
CI=true, where a missing tool is a failure.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import install_test  # noqa: E402
import xharness as xh  # noqa: E402

APP_ID = install_test.APP_ID
TOOLS = ("dpkg-deb", "lintian", "desktop-file-validate", "appstreamcli")
# Lintian warnings we keep on purpose, with why. Errors are never kept.
KEPT_WARNINGS = {}


def run(args):
    result = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=300)
    return result.returncode, result.stdout.decode(errors="replace")


def project_version(source_dir):
    text = open(os.path.join(source_dir, "CMakeLists.txt")).read()
    return re.search(r"^project\(Stakko VERSION ([0-9.]+)", text, re.M).group(1)


def check_control(deb, version):
    _, text = run(["dpkg-deb", "-f", deb])
    fields = dict(re.findall(r"^([A-Za-z-]+): (.*)$", text, re.M))
    problems = []
    for name, want in (("Package", "stakko"), ("Version", version), ("Section", "games")):
        if fields.get(name) != want:
            problems.append("%s is %r, not %r" % (name, fields.get(name), want))
    # Computed by dpkg-shlibdeps from what the game links: SDL2 and the C
    # and C++ runtimes, each with a minimum version.
    depends = fields.get("Depends", "")
    for lib in ("libsdl2-2.0-0 (>=", "libc6 (>=", "libstdc++6 (>="):
        if lib not in depends:
            problems.append("Depends lacks %s...): %r" % (lib, depends))
    if "Homepage" in fields:
        problems.append("a Homepage field, but the project has no web site")
    long_description = re.search(r"^Description: .*\n((?: .*\n)*)", text, re.M)
    if not long_description or len(long_description.group(1).splitlines()) < 3:
        problems.append("no long description")
    if problems:
        raise xh.Failure("; ".join(problems))
    return "stakko %s, section games, Depends: %s" % (version, depends)


def check_lintian(deb):
    code, text = run(["lintian", "--display-info", deb])
    print(text.rstrip())
    tags = re.findall(r"^([EWIPX]): \S+: (\S+)", text, re.M)
    bad = sorted({t for level, t in tags if level == "E" or (level == "W" and t not in KEPT_WARNINGS)})
    if bad:
        raise xh.Failure("lintian: " + ", ".join(bad))
    if code != 0:
        raise xh.Failure("lintian exited with status %d" % code)
    kept = sorted({t for level, t in tags if level == "W"})
    return "no errors; warnings kept: %s" % (", ".join("%s (%s)" % (t, KEPT_WARNINGS[t]) for t in kept) or "none")


def check_validators(root):
    desktop = os.path.join(root, "usr/share/applications/%s.desktop" % APP_ID)
    meta = os.path.join(root, "usr/share/metainfo/%s.metainfo.xml" % APP_ID)
    problems = []
    for args in (["desktop-file-validate", desktop], ["appstreamcli", "validate", "--no-net", meta]):
        code, text = run(args)
        if code != 0 or (args[0] == "desktop-file-validate" and text.strip()):
            problems.append("%s: %s" % (" ".join(args[:-1]), text.strip()))
    if problems:
        raise xh.Failure("; ".join(problems))
    return "desktop-file-validate and appstreamcli validate --no-net pass"


def unpack(deb, root):
    code, text = run(["dpkg-deb", "-x", deb, root])
    if code != 0:
        raise xh.Failure(text.strip())
    return "into " + root


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--deb")
    parser.add_argument("--source-dir", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "../.."))
    parser.add_argument("--size", default="1280x1024")
    parser.add_argument("--artifacts")
    parser.add_argument("--keep", action="store_true")
    args = parser.parse_args()
    missing = [t for t in TOOLS if shutil.which(t) is None] + xh.tools_missing()
    if missing:
        print("%s: %s not installed (scripts/setup-deps.sh installs them)" %
              ("FAIL" if os.environ.get("CI") == "true" else "skipped", ", ".join(missing)))
        return 1 if os.environ.get("CI") == "true" else xh.SKIP
    version = args.version = project_version(args.source_dir)
    if not args.deb:
        _, arch = run(["dpkg", "--print-architecture"])
        args.deb = os.path.join(args.source_dir, "dist", "stakko_%s_%s.deb" % (version, arch.strip()))
    if not os.path.isfile(args.deb):
        print("FAIL     no package %s (scripts/package.sh deb makes it)" % args.deb)
        return 1
    work = xh.temp_dir("stakko-deb-")
    root = os.path.join(work, "root")
    try:
        ok = True
        for name, check in (("control fields", lambda: check_control(args.deb, version)),
                            ("lintian", lambda: check_lintian(args.deb)),
                            ("unpacked", lambda: unpack(args.deb, root)),
                            ("validators", lambda: check_validators(root))):
            try:
                print("PASS     %s: %s" % (name, check()), flush=True)
            except xh.Failure as e:
                print("FAIL     %s: %s" % (name, e), flush=True)
                ok = False
        return 0 if install_test.play_installed(args, os.path.join(root, "usr"), work, bindir="games",
                                                system=True) and ok else 1
    finally:
        if not args.keep:
            install_test.remove_tree(work)


if __name__ == "__main__":
    sys.exit(main())
