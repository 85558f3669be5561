#include "platform/frame_pace.h"

namespace platform {

namespace {
// Further behind than this, the lost time is given up, not caught up.
constexpr int64_t kStallMicros = 250000;
// Reads this long after the last frame, with none between, are a wait. A
// frame's own work can take longer than its slot (a slow machine, a page
// catching up after handing the browser its turn); counting its reads as
// a wait would hand its slots to reads and lose frames.
constexpr int64_t kWaitMicros = 20000;
}  // namespace

void FramePace::Set(int fps, int refreshHz) {
  period_ = fps > 0 ? 1000000 / fps : 0;
  refresh_ = 1000000 / (refreshHz > 0 ? refreshHz : 60);
}

int64_t FramePace::TakeSlot(int64_t now) {
  if (!started_ || now - nextSlot_ > kStallMicros) {
    started_ = true;
    nextSlot_ = now;
  }
  const int64_t wait = nextSlot_ > now ? nextSlot_ - now : 0;
  nextSlot_ += period_;
  return wait;
}

int64_t FramePace::FrameStart(int64_t now) {
  readSinceFrame_ = false;
  if (period_ <= 0) return 0;
  const int64_t wait = TakeSlot(now);
  lastActivity_ = now + wait;
  return wait;
}

int64_t FramePace::Read(int64_t now) {
  if (period_ <= 0) return 0;
  // The first read after a frame is that frame's own; reads that follow
  // within a frame's time (20 ms at least) are one frame's many (the
  // particle screen takes sixty). Past that, nothing is being shown: the
  // reads are the wait.
  const bool waiting = readSinceFrame_ && now - lastActivity_ >= (period_ > kWaitMicros ? period_ : kWaitMicros);
  readSinceFrame_ = true;
  return waiting ? TakeSlot(now) : 0;
}

void FramePace::Presented(int64_t now) {
  lastActivity_ = now;
  if (period_ <= 0) return;
  if (!pictured_ || now - nextPicture_ > refresh_) nextPicture_ = now;
  pictured_ = true;
  nextPicture_ += refresh_;
}

}  // namespace platform
