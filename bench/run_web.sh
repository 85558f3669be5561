#!/usr/bin/env bash
# The page's figures in headless Chromium (a benchmark, not a test): game
# frames a second held at the page's default pace (--fps 1000), pictures
# painted a second, and what a player downloads.
#
#   bench/run_web.sh [zip] [seconds] [rounds] [query] [WIDTHxHEIGHT]
# The zip defaults to the one scripts/package.sh web wrote; query is added
# to the address (e.g. "fps=700"), after "verbose", which makes the game
# say how many frames it ran.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
source scripts/web-common.sh
version="$(stakko_version)"
zip="$(realpath "${1:-dist/stakko-$version-web.zip}")"
seconds="${2:-10}"
rounds="${3:-3}"
query="${4:-}"
size="${5:-1280x960}"
modules="$(web_test_modules)"
site="$(mktemp -d "${TMPDIR:-/tmp}/stakko-web-bench.XXXXXX")"
trap 'kill "$server" 2>/dev/null || true; rm -rf "$site"' EXIT
(cd "$site" && unzip -q "$zip")

echo "load size (bytes as served, and gzip -9 as a server could send them):"
total=0
gzipped=0
for f in index.html page.js stakko.js stakko.wasm stakko.data; do
  raw=$(stat -c %s "$site/$f")
  gz=$(gzip -9 -c "$site/$f" | wc -c)
  total=$((total + raw))
  gzipped=$((gzipped + gz))
  printf '  %-12s %10d %10d\n' "$f" "$raw" "$gz"
done
printf '  %-12s %10d %10d\n' total "$total" "$gzipped"

python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$site" >"$site.log" 2>/dev/null &
server=$!
for _ in $(seq 50); do
  port="$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$site.log" | head -n1)"
  [ -n "$port" ] && break
  sleep 0.1
done
url="http://127.0.0.1:$port/index.html?verbose${query:+&$query}"
for round in $(seq "$rounds"); do
  echo -n "round $round: "
  NODE_PATH="$modules" node bench/web_framerate.js "$url" /usr/bin/chromium "$seconds" "$size"
done
rm -f "$site.log"
