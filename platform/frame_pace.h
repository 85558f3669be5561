// The steady pace of `--fps N`: N game frames a second whatever the display
// can show. Plain arithmetic on microseconds (the caller sleeps and reads
// the clock), so every backend can use it and tests can drive it with a
// clock of their own.
//
// Each game frame has its slot on a fixed grid of times. A frame ahead of
// its slot waits for it; a frame behind it runs at once, so the game
// catches up after a slow picture; a frame more than a quarter of a second
// behind (a suspended laptop, a debugger) moves the grid instead of racing
// through the backlog. Pictures go to the display at most at its refresh
// rate, on a grid of their own: a frame that comes before the display can
// take another picture is simply not shown.
//
// Screens that show one picture and then only read the keyboard take their
// slots too: once a whole frame's time has passed without a frame, every
// further input read waits for a slot as a frame would.
#pragma once

#include <cstdint>

namespace platform {

class FramePace {
 public:
  // fps 0 is no pace at all: no wait, every picture shown.
  explicit FramePace(int fps = 0, int refreshHz = 0) { Set(fps, refreshHz); }
  // refreshHz 0: the display did not say; 60 is assumed.
  void Set(int fps, int refreshHz);

  bool Paced() const { return period_ > 0; }

  // A game frame begins (every frame, shown or not, focused or not).
  // Returns how long to sleep before it goes on.
  int64_t FrameStart(int64_t now);
  // The frame's picture was handled (shown or dropped) at `now`.
  void FrameDone(int64_t now) { lastActivity_ = now; }
  // An input read. Returns how long to sleep first: 0 unless the game is
  // in a wait that shows no frames.
  int64_t Read(int64_t now);

  // Whether the display may take a picture now (always, without a pace).
  bool MayPresent(int64_t now) const { return period_ <= 0 || !pictured_ || now >= nextPicture_; }
  void Presented(int64_t now);

 private:
  int64_t TakeSlot(int64_t now);

  int64_t period_ = 0;
  int64_t refresh_ = 0;
  bool started_ = false;
  int64_t nextSlot_ = 0;
  int64_t lastActivity_ = 0;
  bool readSinceFrame_ = false;
  bool pictured_ = false;
  int64_t nextPicture_ = 0;
};

}  // namespace platform
