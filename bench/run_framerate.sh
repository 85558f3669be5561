#!/usr/bin/env bash
# Runs bench/framerate_measure in a private Xvfb server at each screen size,
# for the processor's paths (fill, integer) unless told otherwise.
#   bench/run_framerate.sh [BUILD_DIR] [SECONDS_PER_MEASUREMENT] [PATH] [SIZES...]
# BUILD_DIR must be configured with -DSTAKKO_BENCH=ON (default build-bench);
# PATH is one of framerate_measure's --path values (default cpu).
# FPS=N in the environment runs the game at that pace (--fps N); AWAY=1
# measures with the focus given to another window.
# ROUNDS=N goes through the sizes N times in turn and ends with the best
# frame rates of each size, path and scene: on a shared machine a slow
# moment then hurts one round, not one size.
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
rounds="${ROUNDS:-1}"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for ((round = 1; round <= rounds; ++round)); do
for size in "${sizes[@]}"; do
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 9 -screen 0 "${size}x24" -nolisten tcp 9>"$fifo" 2>/dev/null &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null; rm -f "$fifo" "$log"' EXIT
  read -r -t 20 display <"$fifo"
  rm -f "$fifo"
  echo "== Xvfb $size (display :$display) =="
  extra=()
  [ -z "${FPS:-}" ] || extra+=(--fps "$FPS")
  [ -z "${AWAY:-}" ] || extra+=(--unfocused)
  DISPLAY=":$display" SDL_AUDIODRIVER=dummy "$measure" --seconds "$seconds" --path "$path" ${extra[@]+"${extra[@]}"} \
    --server-pid "$xvfb" |
    while IFS= read -r line; do
      echo "$line"
      echo "$size $line" >>"$log"
    done
  kill "$xvfb"
  wait "$xvfb" 2>/dev/null || true
done
done
if ((rounds > 1)); then
  echo "== best of $rounds rounds: frames/s, pictures/s =="
  awk '$3 == "keys" { next }
       { key = $1 " " $2 " " $3; if ($4 > fps[key]) { fps[key] = $4; pic[key] = $6 }
         if (!(key in seen)) { seen[key] = 1; order[n++] = key } }
       END { for (i = 0; i < n; ++i) printf "%-30s %8.1f %7.1f\n", order[i], fps[order[i]], pic[order[i]] }' "$log"
fi
