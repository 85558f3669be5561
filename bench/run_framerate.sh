#!/usr/bin/env bash
# Runs bench/framerate_measure in a private Xvfb server at each screen size,
# for the processor's paths (before, integer, fill) unless told otherwise.
#   bench/run_framerate.sh [BUILD_DIR] [SECONDS_PER_MEASUREMENT] [PATH] [SIZES...]
# BUILD_DIR must be configured with -DSTAKKO_BENCH=ON (default build-bench);
# PATH is one of framerate_measure's --path values (default cpu).
set -euo pipefail
build="${1:-build-bench}"
seconds="${2:-3}"
path="${3:-cpu}"
shift $(( $# < 3 ? $# : 3 ))
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(640x480 1280x1024 1920x1080 3840x2160)
measure="$build/bench/framerate_measure"
if [ ! -x "$measure" ]; then
  echo "build it first: cmake -S . -B $build -DCMAKE_BUILD_TYPE=Release -DSTAKKO_BENCH=ON && cmake --build $build --target framerate_measure" >&2
  exit 2
fi
for size in "${sizes[@]}"; do
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 9 -screen 0 "${size}x24" -nolisten tcp 9>"$fifo" 2>/dev/null &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null; rm -f "$fifo"' EXIT
  read -r -t 20 display <"$fifo"
  rm -f "$fifo"
  echo "== Xvfb $size (display :$display) =="
  DISPLAY=":$display" SDL_AUDIODRIVER=dummy "$measure" --seconds "$seconds" --path "$path" --server-pid "$xvfb"
  kill "$xvfb"
  wait "$xvfb" 2>/dev/null || true
done
