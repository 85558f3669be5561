#!/usr/bin/env python3
"""The browser zip plays in a real browser: unpacked and served on 127.0.0.1
by python3's http.server, played in headless Chromium through puppeteer-core
(web_page.js holds the scenario), its title compared with the frame the Linux
stakko-sim draws.

    web_page_test.py --zip PATH --native-sim PATH --native-run-dir DIR
                     --node PATH --node-modules DIR --chromium PATH --artifacts DIR

Exit status 0 when the scenario held, 1 otherwise, 77 when a piece is missing
(1 instead when CI=true: CI must run this).
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import zipfile

SKIP = 77
HERE = os.path.dirname(os.path.abspath(__file__))
LAST_TITLE_WAVE_FRAME = 40  # the title at rest, before the fountain starts


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for option in ("--zip", "--native-sim", "--native-run-dir", "--node", "--node-modules", "--chromium", "--artifacts"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    ci = os.environ.get("CI") == "true"
    missing = [p for p in (args.zip, args.native_sim, args.node, args.chromium, args.native_run_dir,
                           os.path.join(args.node_modules, "puppeteer-core")) if not os.path.exists(p)]
    if missing:
        print("%s: missing %s (scripts/package.sh web and scripts/test.sh make them)" % (
            "FAIL" if ci else "skipped", ", ".join(missing)))
        return 1 if ci else SKIP
    shutil.rmtree(args.artifacts, ignore_errors=True)
    site = os.path.join(args.artifacts, "site")
    os.makedirs(site)
    with zipfile.ZipFile(args.zip) as z:
        z.extractall(site)

    # The title at rest as the Linux build draws it.
    run = os.path.join(args.artifacts, "sim")
    shutil.copytree(args.native_run_dir, run, ignore=shutil.ignore_patterns("Data", "*.stamp"))
    os.makedirs(os.path.join(run, "Data"))
    frames = os.path.join(args.artifacts, "sim-frames")
    os.makedirs(frames)
    subprocess.run([args.native_sim, "--dir", run, "--until-ms", "200", "--dump-frames",
                    str(LAST_TITLE_WAVE_FRAME), "--dump-dir", frames], check=True, stdout=subprocess.DEVNULL)
    title = os.path.join(frames, "frame-%d.png" % LAST_TITLE_WAVE_FRAME)

    server = subprocess.Popen([sys.executable, "-u", "-m", "http.server", "0", "--bind", "127.0.0.1",
                               "--directory", site], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        line = server.stdout.readline()
        port = re.search(r"port (\d+)", line)
        if not port:
            print("FAIL     http.server said %r" % line)
            return 1
        url = "http://127.0.0.1:%s/index.html" % port.group(1)
        env = dict(os.environ, NODE_PATH=args.node_modules)
        result = subprocess.run([args.node, os.path.join(HERE, "web_page.js"), url, args.chromium, title,
                                 args.artifacts], env=env, timeout=420)
        return 0 if result.returncode == 0 else 1
    except subprocess.TimeoutExpired:
        print("FAIL     the browser session took over 7 minutes")
        return 1
    finally:
        server.terminate()
        server.wait()


if __name__ == "__main__":
    sys.exit(main())
