// Play after 2^31 ms (24.8 days) of running, where a 32-bit millisecond
// stamp wraps: the same moves give the same game as early in a run. One
// short game is played three times after a jump of the clock: far from the
// wrap, with the wrap just before a Right press, and with the wrap just
// after an explosion (and the level-up it brings) has begun. The arrow must
// move the piece, the explosion must end and the banner must go.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "flow/globals.h"
#include "platform/keycodes.h"
#include "tests/test_support.h"
#include "tools/sim/scenario.h"

namespace {

constexpr int64_t kWrapMs = int64_t{1} << 31;

struct WrapRun {
  std::vector<std::string> events;  // trace lines without their time stamps
  int64_t explodeMs = -1;           // after the jump
  int32_t bannerAtEnd = -1;
  int32_t levelAtEnd = 0;
  std::string bottomRowAtEnd;  // the well's bottom row, once the run is over
};

// Starts a game; on its first play frame the clock jumps to jumpMs, two
// jewels are laid beside where the piece will land so that it completes a
// line, and the line is the last the level needs. Right, then Space.
WrapRun PlayAfterJump(int64_t jumpMs) {
  ScopedWorkDir dir;
  CopyRunAssets(dir.path());
  SimOptions options;
  options.dir = dir.path().string();
  options.seed = 9;
  options.frameUs = 5000;
  WrapRun run;
  bool jumped = false;
  options.prepare = [&](platform::HeadlessBackend& b) {
    b.KeyAt(100, KeySpace, true);
    b.KeyAt(160, KeySpace, false);
    b.traceSink = [&](const std::string& line) {
      const size_t stamp = line.find(' ', line.find(' ') + 1);  // "t=.. f=.. "
      run.events.push_back(line.substr(stamp + 1));
      if (jumped && run.explodeMs < 0 && line.find(" explode ") != std::string::npos)
        run.explodeMs = b.NowMs() - jumpMs;
    };
    b.onPresent = [&](platform::HeadlessBackend& hb) {
      if (G.CurrentState == StatePlaying && !jumped) {
        jumped = true;
        hb.now = jumpMs * 1000;
        G.Board[3][BoardRows - 1] = G.Piece[2];  // the piece comes down in
        G.Board[5][BoardRows - 1] = G.Piece[2];  // column 4, between them
        G.ToGo = 3;
        hb.KeyAt(jumpMs + 200, KeyRight, true);
        hb.KeyAt(jumpMs + 260, KeyRight, false);
        hb.KeyAt(jumpMs + 600, KeySpace, true);
        hb.KeyAt(jumpMs + 660, KeySpace, false);
        hb.stopAtMicros = (jumpMs + 8000) * 1000;
      }
      run.bannerAtEnd = G.LevelBanner;
      run.levelAtEnd = G.Level;
      run.bottomRowAtEnd.clear();
      for (int x = 0; x < BoardColumns; ++x) run.bottomRowAtEnd += std::to_string(G.Board[x][BoardRows - 1]);
    };
  };
  std::ostringstream out, err;
  EXPECT_EQ(RunSim(options, out, err), 0) << err.str();
  return run;
}

TEST(ClockWrap, PlayAcrossTheWrapIsPlayAsEver) {
  const WrapRun early = PlayAfterJump(1000000);
  ASSERT_GE(early.explodeMs, 0) << "the scenario made no line";
  const auto has = [&](const std::string& event) {
    for (const std::string& e : early.events)
      if (e.rfind(event, 0) == 0) return true;
    return false;
  };
  EXPECT_TRUE(has("lock col=4 row=12"));  // moved right one column, dropped
  EXPECT_TRUE(has("levelup level=2"));
  EXPECT_EQ(early.levelAtEnd, 2);
  EXPECT_EQ(early.bannerAtEnd, 0);
  // The line is gone and the jewel above has settled into its middle.
  EXPECT_EQ(early.bottomRowAtEnd[3], '0');
  EXPECT_NE(early.bottomRowAtEnd[4], '0');
  EXPECT_EQ(early.bottomRowAtEnd[5], '0');

  for (int64_t jump : {kWrapMs - 100, kWrapMs - early.explodeMs - 20}) {
    const WrapRun late = PlayAfterJump(jump);
    EXPECT_EQ(late.events, early.events) << "clock jumped to " << jump;
    EXPECT_EQ(late.explodeMs, early.explodeMs) << "clock jumped to " << jump;
    EXPECT_EQ(late.bannerAtEnd, 0) << "clock jumped to " << jump;
    EXPECT_EQ(late.bottomRowAtEnd, early.bottomRowAtEnd) << "clock jumped to " << jump;
  }
}

}  // namespace
