#!/usr/bin/env bash
# The real game (BUILD_DIR/stakko, as players run it) in a private Xvfb
# server at each screen size, on the processor's path: game frames a second,
# pictures a second, and the processor time of the game and of the X server,
# on the title (the jewel fountain over the title picture) and on the play
# screen, each with the window focused and with the focus given to another
# window. Paced (--fps 1000) and unpaced runs alternate; the sizes are taken
# in turns, ROUNDS times, so a busy moment of a shared machine hits one
# round, not one size.
#   bench/run_pace.sh [BUILD_DIR] [SECONDS] [ROUNDS] [SIZES...]
# BUILD_DIR must be configured with -DSTAKKO_BENCH=ON (default build-bench).
# FPS=N changes the pace (default 1000); MODES="paced" or MODES="unpaced"
# runs one kind only; GAME=PATH measures another build of the game (an
# older one, say) with this build's pictures and sounds. The counting is done by bench/pace_probe.cpp, loaded
# into the game with LD_PRELOAD; the game itself is not changed.
set -euo pipefail
build="$(cd "${1:-build-bench}" && pwd)"
seconds="${2:-5}"
rounds="${3:-3}"
shift $(( $# < 3 ? $# : 3 ))
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(640x480 1280x1024 1920x1080 3840x2160)
fps="${FPS:-1000}"
read -r -a modes <<<"${MODES:-paced unpaced}"
game="${GAME:-$build/stakko}"
probe="$build/bench/libpace_probe.so"
if [ ! -x "$game" ] || [ ! -f "$probe" ] || [ ! -d "$build/run/graphics" ]; then
  echo "build it first: cmake -S . -B $build -DCMAKE_BUILD_TYPE=Release -DSTAKKO_BENCH=ON && cmake --build $build" >&2
  exit 2
fi
for tool in Xvfb xdotool xlogo; do
  command -v "$tool" >/dev/null || { echo "run_pace.sh needs $tool (Debian: xvfb, xdotool, x11-apps)" >&2; exit 2; }
done

work=$(mktemp -d)
results="$work/results"
: >"$results"
xvfb="" game_pid="" other=""
cleanup() {
  for pid in $game_pid $other $xvfb; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

focus() {  # WINDOW: gives it the keyboard focus and waits until it has it
  for _ in $(seq 50); do
    xdotool windowfocus "$1" 2>/dev/null || true
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
    sleep 0.1
  done
  echo "run_pace.sh: window $1 never took the focus" >&2
  return 1
}

measure() {  # LABEL: marks a measurement of SECONDS in the probe's samples
  echo "mark begin $1" >>"$work/samples"
  sleep "$seconds"
  echo "mark end $1" >>"$work/samples"
}

run_game() {  # MODE SIZE ROUND
  local mode=$1 size=$2 round=$3 fifo display args win away
  rm -rf "$work/run" && mkdir -p "$work/run/Data" "$work/run/Replays"
  ln -s "$build/run/graphics" "$build/run/Sound" "$work/run/"
  : >"$work/samples"
  fifo="$work/displayfd"
  mkfifo "$fifo"
  Xvfb -displayfd 9 -screen 0 "${size}x24" -nolisten tcp 9>"$fifo" 2>/dev/null &
  xvfb=$!
  read -r -t 20 display <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$display"
  args=(--present cpu --fullscreen)
  [ "$mode" = unpaced ] || args+=(--fps "$fps")
  (cd "$work/run" && LD_PRELOAD="$probe" STAKKO_PACE_PROBE_FD=3 STAKKO_PACE_PROBE_SERVER_PID="$xvfb" \
     SDL_AUDIODRIVER=dummy exec "$game" "${args[@]}" 3>>"$work/samples" 2>"$work/game.err") &
  game_pid=$!
  win=$(timeout 30 xdotool search --sync --name '^Stakko$' | head -n 1)
  focus "$win"
  xlogo -geometry 64x64+0+0 &
  other=$!
  away=$(timeout 10 xdotool search --sync --name '^xlogo$' | head -n 1)
  focus "$win"
  sleep 1  # the title's ripple (40 frames) is over: the jewel fountain runs
  measure "title focused"
  focus "$away"
  sleep 0.3
  measure "title away"
  focus "$win"
  sleep 0.3
  xdotool keydown space && sleep 0.1 && xdotool keyup space
  sleep 6  # the get-ready picture slides through in about four seconds
  measure "play focused"
  focus "$away"
  sleep 0.3
  measure "play away"
  kill "$game_pid" "$other" 2>/dev/null || true
  wait "$game_pid" "$other" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  game_pid="" other="" xvfb=""
  if grep -q '^note' "$work/samples"; then grep '^note' "$work/samples" >&2; fi
  # One line per measurement: the first sample after its start, the last
  # one before its end.
  awk -v mode="$mode" -v size="$size" -v round="$round" -v hz="$(getconf CLK_TCK)" '
    $1 == "sample" { last = $0; if (want != "" && first == "") first = $0 }
    $1 == "mark" && $2 == "begin" { want = $3 " " $4; first = "" }
    $1 == "mark" && $2 == "end" {
      split(first, a); split(last, b)
      wall = (b[2] - a[2]) / 1e9
      if (wall > 0)
        printf "result %s %s %s %s %d %d %.3f %d %d %.1f %.1f %d\n", mode, size, $3, $4, round, b[3] - a[3], wall,
               b[5] - a[5], b[4] - a[4], 100 * (b[6] - a[6]) / hz / wall, 100 * (b[7] - a[7]) / hz / wall, b[8] - a[8]
      want = ""
    }' "$work/samples" | tee -a "$results"
  if [ -s "$work/game.err" ]; then sed 's/^/  game: /' "$work/game.err"; fi
}

echo "# result MODE SIZE SCREEN FOCUS ROUND FRAMES SECONDS PICTURES READ-PUMPS GAME-CPU% X-CPU% READ-SLEEPS"
for ((round = 1; round <= rounds; ++round)); do
  echo "# round $round, load: $(uptime | sed 's/.*load average: //')"
  for size in "${sizes[@]}"; do
    for mode in "${modes[@]}"; do run_game "$mode" "$size" "$round"; done
  done
done
echo "# end, load: $(uptime | sed 's/.*load average: //')"

# Paced, the rate over all rounds together is the figure (the pace must hold
# it throughout) and the rounds' range is given; unpaced, the best round is
# the game's speed, since a shared machine only ever slows a round down.
echo
printf '%-8s %-10s %-6s %-8s %10s %17s %10s %9s %7s %12s\n' mode size screen focus frames/s "rounds" pictures/s game-cpu X-cpu read-sleeps/s
awk '$1 == "result" {
    key = $2 " " $3 " " $4 " " $5
    if (!(key in wall)) order[n++] = key
    frames[key] += $7; wall[key] += $8; pictures[key] += $9
    cpu[key] += $11 * $8; xcpu[key] += $12 * $8; sleeps[key] += $13
    rate = $7 / $8
    if (!(key in lo) || rate < lo[key]) lo[key] = rate
    if (!(key in hi) || rate > hi[key]) hi[key] = rate
  }
  END {
    for (i = 0; i < n; ++i) {
      k = order[i]; split(k, p)
      fps = p[1] == "paced" ? frames[k] / wall[k] : hi[k]
      printf "%-8s %-10s %-6s %-8s %10.1f %8.1f-%-8.1f %10.1f %8.1f%% %6.1f%% %12.1f\n", p[1], p[2], p[3], p[4], fps, lo[k],
             hi[k], pictures[k] / wall[k], cpu[k] / wall[k], xcpu[k] / wall[k], sleeps[k] / wall[k]
    }
  }' "$results" | sort -s -k1,1
