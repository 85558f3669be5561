// An optional cap on presented frames a second. Each frame has its slot on
// a fixed grid of times, and the wait until the next slot is slept (never
// spun), so the average rate is steady even where the system's sleep is
// coarse. A frame that comes late moves the grid instead of letting several
// frames through at once.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace platform {

class SdlPace {
 public:
  explicit SdlPace(int fps) : period_(fps > 0 ? 1000000 / fps : 0) {}

  bool Limits() const { return period_ > 0; }
  // Called after each presented frame with the time in microseconds.
  template <typename Clock>
  void Wait(Clock&& nowMicros) {
    Wait(nowMicros, [](uint32_t ms) { SDL_Delay(ms); });
  }
  // The same with the sleep (whole milliseconds) given.
  template <typename Clock, typename Sleep>
  void Wait(Clock&& nowMicros, Sleep&& sleepMs) {
    if (period_ <= 0) return;
    const int64_t now = nowMicros();
    if (next_ == 0 || now - next_ > period_) next_ = now;  // first frame, or late
    next_ += period_;
    if (next_ - now >= 1000) sleepMs(static_cast<uint32_t>((next_ - now) / 1000));
  }

 private:
  int64_t period_;
  int64_t next_ = 0;
};

}  // namespace platform
