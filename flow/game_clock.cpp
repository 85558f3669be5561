#include "flow/game_clock.h"

#include "flow/globals.h"
#include "platform/timing.h"

GameTimeMs ClockNowMs() { return ElapsedMs(); }

GameTimeMs DeadlineIn(int32_t ms) { return ElapsedMs() + ms; }

bool ClockIsPast(GameTimeMs deadline) { return ElapsedMs() > deadline; }

void StartFrameTiming() { G.LastTick = ElapsedMs(); }

void AdvanceFrameTiming() {
  G.NowTick = ElapsedMs();
  // A frame lasts milliseconds; only a stopped process could make it longer
  // than 32 bits hold.
  G.FrameTimeMs = static_cast<int32_t>(G.NowTick - G.LastTick);
  G.LastTick = G.NowTick;
}
