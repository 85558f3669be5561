// The frame cap sleeps out each frame's slot on a fixed grid: frames come
// at the asked rate on average even though sleeps are whole milliseconds,
// a late frame is never followed by a burst, and no cap means no sleep.
#include "platform/sdl/sdl_pace.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(FramePace, SleepsOutEachSlotOnAFixedGridAndNeverCatchesUpInABurst) {
  int64_t now = 0;
  int64_t slept = 0;
  int sleeps = 0;
  auto clock = [&] { return now; };
  auto sleep = [&](uint32_t ms) {
    slept += ms;
    now += ms * 1000;
    ++sleeps;
  };
  SdlPace pace(60);  // 16,666 us a frame
  for (int frame = 0; frame < 600; ++frame) {
    now += 3000;  // the frame's own work
    pace.Wait(clock, sleep);
  }
  // Ten seconds for 600 frames, give or take the last slot's rounding.
  EXPECT_NEAR(static_cast<double>(now), 600 * 16666.0, 17000.0);
  EXPECT_EQ(sleeps, 600);

  // A frame 100 ms late: the next ones keep the ordinary spacing.
  now += 100000;
  pace.Wait(clock, sleep);
  const int64_t after = now;
  const int before = sleeps;
  for (int frame = 0; frame < 3; ++frame) {
    now += 3000;
    pace.Wait(clock, sleep);
  }
  EXPECT_EQ(sleeps - before, 3);
  EXPECT_GE(now - after, 3 * 16000);

  SdlPace unlimited(0);
  const int64_t was = now;
  unlimited.Wait(clock, sleep);
  EXPECT_EQ(now, was);
}

}  // namespace
}  // namespace platform
