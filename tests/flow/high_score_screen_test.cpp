// The high-score screen: the picture's slide, the ten rows at their columns,
// leaving by key, and the 20 seconds counted from the table's appearance.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "flow/high_score_screen.h"
#include "platform/keycodes.h"
#include "scores/high_scores.h"
#include "tests/scores/scores_fixture.h"

namespace fs = std::filesystem;
using namespace scores_test;

namespace {

class HighScoreScreenTest : public ScoresScreenTest {
 protected:
  void SetUp() override {
    ScoresScreenTest::SetUp();
    backend.frameStepMicros = 5000;
    backend.pollStepMicros = 1000;  // the 20 s wait reads keys without frames
    G.CurrentState = StateHighScores;
    backend.onPresent = [this](platform::HeadlessBackend& b) { lastPresentMs = b.NowMs(); };
  }
  void SaveTable(const std::vector<HighScoreEntry>& rows) {
    for (int row = 1; row <= 10; ++row) {
      G.HighScoreTable[row] = row <= static_cast<int>(rows.size()) ? rows[static_cast<size_t>(row - 1)]
                                                                   : HighScoreEntry{"", 0, "", 0};
    }
    ASSERT_TRUE(SaveHighScores());
    for (int row = 1; row <= 10; ++row) G.HighScoreTable[row] = HighScoreEntry{};
  }
  int64_t lastPresentMs = 0;
};

}  // namespace

TEST(LeftPad, PadsOnTheLeftAndNeverCuts) {
  EXPECT_EQ(LeftPad("7", 2), " 7");
  EXPECT_EQ(LeftPad("10", 2), "10");
  EXPECT_EQ(LeftPad("1234567", 6), "1234567");
  EXPECT_EQ(LeftPad("", 3), "   ");
  EXPECT_EQ(LeftPad("-5", 3), " -5");
}

TEST_F(HighScoreScreenTest, WithoutAFileTenDefaultRowsAndTheFileIsWritten) {
  RunHighScores();
  EXPECT_EQ(G.CurrentState, StateHowTo);
  EXPECT_EQ(fs::file_size(dir.path() / "Data" / "highscore.dat"), 260u);
  const Frame& f = LastFrame();
  for (int row = 1; row <= 10; ++row) {
    int y = 200 + 20 * row;
    std::string rank = row < 10 ? " " + std::to_string(row) : "10";
    EXPECT_EQ(ReadSmall(f, 10, y, 12), rank + "  NOBODY") << row;
    EXPECT_EQ(ReadSmall(f, 210, y, 6), "     0") << row;
    EXPECT_EQ(ReadSmall(f, 360, y, 11), "01-JAN-2007") << row;
    EXPECT_EQ(ReadSmall(f, 540, y, 3), "  0") << row;
  }
  // The picture at rest, its top on row 1.
  EXPECT_EQ(PixelOf(f, 140, 0), 0u);
  EXPECT_EQ(PixelOf(f, 140, 1), kHighscorePixel);
  EXPECT_EQ(PixelOf(f, 140, kHighscoreHeight), kHighscorePixel);
  EXPECT_EQ(PixelOf(f, 140, kHighscoreHeight + 1), 0u);

  // The next visit reads the file written by the first.
  G.CurrentState = StateHighScores;
  RunHighScores();
  EXPECT_EQ(ReadSmall(LastFrame(), 360, 220, 11), "01-JAN-2018");
}

TEST_F(HighScoreScreenTest, WideNumbersAreDrawnInFull) {
  SaveTable({{"ABCDEFGH", 1234567, "05-MAR-2026", 1000}, {"", -42, "06-MAR-2026", 7}});
  RunHighScores();
  const Frame& f = LastFrame();
  EXPECT_EQ(ReadSmall(f, 10, 220, 12), " 1  ABCDEFGH");
  EXPECT_EQ(ReadSmall(f, 210, 220, 7), "1234567");
  EXPECT_EQ(ReadSmall(f, 540, 220, 4), "1000");
  EXPECT_EQ(ReadSmall(f, 10, 240, 12), " 2  ");
  EXPECT_EQ(ReadSmall(f, 210, 240, 6), "   -42");
  EXPECT_EQ(ReadSmall(f, 540, 240, 3), "  7");
}

TEST_F(HighScoreScreenTest, PictureSlidesAtATwentiethOfAPixelPerMillisecond) {
  backend.frameStepMicros = 10000;
  backend.pollStepMicros = 0;
  backend.framesToKeep = {101, 102, 104};
  backend.stopAfterFrames = 104;
  EXPECT_THROW(RunHighScores(), platform::RunStopped);
  // Moved before it is drawn, 0.5 pixel a frame after a first frame that
  // uses the frame time left before (0): frame k has its top at
  // -150 + (k - 1) / 2, rounded halves to even.
  auto bottom = [this](int frame) {
    const Frame& f = backend.keptFrames[frame];
    int y = 0;
    while (y < 480 && PixelOf(f, 140, y) == kHighscorePixel) ++y;
    return y - 1;
  };
  EXPECT_EQ(bottom(101), -100 + kHighscoreHeight - 1);
  EXPECT_EQ(bottom(102), -100 + kHighscoreHeight - 1);  // -99.5 rounds to -100
  EXPECT_EQ(bottom(104), -98 + kHighscoreHeight - 1);   // -98.5 rounds to -98
}

TEST_F(HighScoreScreenTest, HowToFollowsTwentySecondsAfterTheTableAppears) {
  backend.frameStepMicros = 40000;  // a slow machine: the slide takes longer
  RunHighScores();
  EXPECT_EQ(G.CurrentState, StateHowTo);
  EXPECT_GT(lastPresentMs, 2500);
  // Counted from just before the table's frame is presented.
  int64_t tableMs = lastPresentMs - 40;
  EXPECT_GE(backend.NowMs() - tableMs, 20000);
  EXPECT_LE(backend.NowMs() - tableMs, 20002);
}

TEST_F(HighScoreScreenTest, SpaceDuringTheSlideStartsAGameWithoutTheTable) {
  backend.KeyAt(500, KeySpace, true);
  RunHighScores();
  EXPECT_EQ(G.CurrentState, StateGetReady);
  EXPECT_LT(backend.NowMs(), 600);
  EXPECT_EQ(ReadSmall(LastFrame(), 10, 220), "");
}

TEST_F(HighScoreScreenTest, SpaceOrEscapeWhileTheTableIsShown) {
  backend.KeyAt(10000, KeySpace, true);
  RunHighScores();
  EXPECT_EQ(G.CurrentState, StateGetReady);
  EXPECT_LT(backend.NowMs(), 10100);
  EXPECT_EQ(ReadSmall(LastFrame(), 10, 220, 12), " 1  NOBODY");
}

TEST_F(HighScoreScreenTest, EscapeDuringTheSlideThenBackStartsOverWithTheFileReadAgain) {
  backend.KeyAt(500, KeyEscape, true);
  RunHighScores();
  EXPECT_EQ(G.CurrentState, StateConfirmExit);
  EXPECT_EQ(G.SavedState, StateHighScores);
  int64_t framesBefore = backend.framesPresented;

  SaveTable({{"NEW", 5, "01-JAN-2030", 1}});
  backend.SetKey(KeyEscape, false);
  G.CurrentState = G.SavedState;  // "No" in the dialog
  RunHighScores();
  EXPECT_EQ(G.CurrentState, StateHowTo);
  // The whole slide again: 151 pixels at 0.3 a frame (6 ms).
  EXPECT_GE(backend.framesPresented - framesBefore, 500);
  EXPECT_EQ(ReadSmall(LastFrame(), 10, 220, 12), " 1  NEW");
}
