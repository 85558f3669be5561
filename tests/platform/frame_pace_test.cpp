// The steady pace on a clock of the test's own: no real time passes, so
// the figures are exact whatever the machine is doing.
#include "platform/frame_pace.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

// A game loop on a fake clock: each frame costs `work` microseconds, and a
// frame shows its picture only where the display may take one (and only
// while `focused`).
struct Loop {
  FramePace pace;
  int64_t now = 1000;
  int64_t slept = 0;
  int frames = 0;
  int pictures = 0;
  bool focused = true;

  void Sleep(int64_t us) {
    slept += us;
    now += us;
  }
  void Frame(int64_t work) {
    Sleep(pace.FrameStart(now));
    ++frames;
    now += work;
    if (focused && pace.MayPresent(now)) {
      pace.Presented(now);
      ++pictures;
    }
    pace.FrameDone(now);
  }
};

TEST(FramePace, HoldsItsSlotsCatchesUpLateFramesAndGivesUpAStall) {
  Loop loop;
  loop.pace.Set(1000, 60);
  const int64_t start = loop.now;
  for (int i = 0; i < 1000; ++i) loop.Frame(200);
  // 1000 frames in one second, slept out in between, the pictures at the
  // display's 60 a second.
  EXPECT_EQ(loop.now - start, 1000 * 1000 - 1000 + 200);
  EXPECT_EQ(loop.slept, 999 * 800);
  EXPECT_NEAR(loop.pictures, 60, 1);

  // One 5 ms hiccup: the next frames run at once until the grid is reached
  // again, so the second still holds its 1000 frames.
  const int64_t before = loop.now;
  const int64_t sleptBefore = loop.slept;
  loop.now += 5000;
  for (int i = 0; i < 6; ++i) loop.Frame(200);
  EXPECT_EQ(loop.slept, sleptBefore);
  for (int i = 0; i < 994; ++i) loop.Frame(200);
  EXPECT_NEAR(static_cast<double>(loop.now - before), 1000 * 1000.0, 1000.0);

  // A stall of a second moves the grid: no burst of a thousand frames.
  loop.now += 1000 * 1000;
  loop.Frame(200);
  const int64_t sleptAfterStall = loop.slept;
  loop.Frame(200);
  EXPECT_EQ(loop.slept - sleptAfterStall, 800);

  // Without a pace nothing sleeps and every picture is shown.
  Loop plain;
  for (int i = 0; i < 100; ++i) plain.Frame(200);
  EXPECT_EQ(plain.slept, 0);
  EXPECT_EQ(plain.pictures, 100);
}

TEST(FramePace, KeepsThePaceUnfocusedAndInWaitsThatOnlyReadKeys) {
  Loop loop;
  loop.pace.Set(500, 144);
  loop.focused = false;
  const int64_t start = loop.now;
  for (int i = 0; i < 500; ++i) loop.Frame(100);
  EXPECT_NEAR(static_cast<double>(loop.now - start), 1000 * 1000.0, 2000.0);
  EXPECT_EQ(loop.pictures, 0);

  loop.focused = true;
  for (int i = 0; i < 500; ++i) loop.Frame(100);
  EXPECT_NEAR(loop.pictures, 144, 1);

  // One frame, then only key reads for a second: once 20 ms have passed
  // the reads take the frames' slots, so no spinning after that.
  loop.Frame(100);
  const int64_t waitStart = loop.now;
  int reads = 0;
  while (loop.now - waitStart < 1000 * 1000) {
    loop.Sleep(loop.pace.Read(loop.now));
    loop.now += 2;
    ++reads;
  }
  EXPECT_LT(reads, 20000 / 2 + 2000);  // unpaced: half a million

  // Sixty reads inside one frame (the particle screen) cost no slot, even
  // where the frame's work takes longer than its slot.
  loop.Frame(100);
  const int64_t sleptBefore = loop.slept;
  for (int i = 0; i < 60; ++i) loop.Sleep(loop.pace.Read(loop.now + 50 * i));
  EXPECT_EQ(loop.slept, sleptBefore);
}

}  // namespace
}  // namespace platform
