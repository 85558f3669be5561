// The game's clock: every timer, timeout and slide of every screen reads the
// time here. Times are the 64-bit ElapsedMs: a deadline is the time plus a
// delay and the time is up once the clock is later than it. Kept in 64 bits
// so that nothing changes after 2^31 ms (24.8 days) of running, where a
// 32-bit stamp would wrap and its sums overflow.
#pragma once

#include <cstdint>

using GameTimeMs = int64_t;

GameTimeMs ClockNowMs();
// The time ms milliseconds from now.
GameTimeMs DeadlineIn(int32_t ms);
// True once the clock is later than the deadline.
bool ClockIsPast(GameTimeMs deadline);

// The frame timing shared by the timed loops (G.LastTick, G.NowTick,
// G.FrameTimeMs): a loop starts its timing, then after each presented frame
// measures how long it took, for the next frame's movement.
void StartFrameTiming();
void AdvanceFrameTiming();
