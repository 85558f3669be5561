// The shared frame timing of the timed loops, and deadlines on the 32-bit
// millisecond clock.
#pragma once

#include <cstdint>

#include "flow/globals.h"
#include "platform/timing.h"

// The clock as the game keeps it: 32 bits, wrapping after about 24 days.
inline int32_t ClockMs32() { return static_cast<int32_t>(static_cast<uint32_t>(ElapsedMs())); }

// Adds without overflow; a deadline may wrap like the clock does.
inline int32_t ClockAddMs(int32_t time, int32_t ms) {
  return static_cast<int32_t>(static_cast<uint32_t>(time) + static_cast<uint32_t>(ms));
}

// True once the clock is later than the deadline, also across the wrap.
inline bool ClockIsPast(int32_t deadline) {
  return static_cast<int32_t>(static_cast<uint32_t>(ClockMs32()) - static_cast<uint32_t>(deadline)) > 0;
}

// After a presented frame: how long it took, for the next frame's movement.
inline void AdvanceFrameTiming() {
  G.NowTick = ClockMs32();
  G.FrameTimeMs = static_cast<int32_t>(static_cast<uint32_t>(G.NowTick) - static_cast<uint32_t>(G.LastTick));
  G.LastTick = G.NowTick;
}
