#!/usr/bin/env bash
# Start-up of the game in a private Xvfb server: exec to the first presented
# frame and the heap's peak until then. Extra game executables (an older
# build, say) are measured in turns in the same run, for ratios.
#   bench/run_startup.sh [BUILD_DIR] [RUNS] [OTHER_GAME...]
# BUILD_DIR must be configured with -DSTAKKO_BENCH=ON (default build-bench).
set -euo pipefail
build="$(cd "${1:-build-bench}" && pwd)"
runs="${2:-9}"
shift $(( $# > 2 ? 2 : $# ))
measure="$build/bench/startup_measure"
probe="$build/bench/libstartup_probe.so"
if [ ! -x "$measure" ] || [ ! -f "$probe" ] || [ ! -x "$build/stakko" ]; then
  echo "build it first: cmake -S . -B $build -DCMAKE_BUILD_TYPE=Release -DSTAKKO_BENCH=ON && cmake --build $build" >&2
  exit 2
fi
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$fifo" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$fifo"' EXIT
read -r -t 20 display <"$fifo"
rm -f "$fifo"
DISPLAY=":$display" SDL_AUDIODRIVER=dummy "$measure" --probe "$probe" --run-dir "$build/run" --runs "$runs" \
  "$build/stakko" "$@"
