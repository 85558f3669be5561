// Starting a game: fresh grids and counters, the dealing, the music and
// the get-ready slide, also straight after start-up and the first title.
#include <gtest/gtest.h>

#include "flow/get_ready.h"
#include "flow/main_loop.h"
#include "play/play.h"
#include "platform/keycodes.h"
#include "platform/timing.h"
#include "tests/play/play_fixture.h"

using playtest::GetReadyColour;

namespace {

class StartingAGame : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    G.CurrentState = StateGetReady;
  }

  // Runs the get-ready state; returns the frames it presented.
  int64_t RunSlide() {
    int64_t before = backend.framesPresented;
    RunGetReady();
    return backend.framesPresented - before;
  }
};

}  // namespace

TEST_F(StartingAGame, TheFirstSixRandomValuesGoToPieceThenNextPiece) {
  backend.frameStepMicros = 50'000;  // a short slide
  RandomSeed(4242);
  uint32_t expected[7];
  for (uint32_t& v : expected) v = RandomRange(6, 1);
  RandomSeed(4242);
  RunGetReady();
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(G.Piece[k], static_cast<Jewel>(expected[k])) << k;
    EXPECT_EQ(G.NextPiece[k], static_cast<Jewel>(expected[3 + k])) << k;
  }
  // Nothing else in starting a game draws from the generator.
  EXPECT_EQ(RandomRange(6, 1), expected[6]);
}

TEST_F(StartingAGame, EverythingOfTheLastGameIsClearedAndThePlayMusicReplacesTheTitles) {
  backend.frameStepMicros = 50'000;
  SetBoard({"123456", "654321"});
  G.MarkGrid[2][5] = 1;
  G.ExplodeGrid[4][12] = 1;
  G.Score = 5120;
  G.Level = 7;
  G.Stones = 260;
  G.ToGo = 3;
  G.PieceX = 224.0f;
  G.PieceY = 200.5f;
  RunGetReady();
  EXPECT_EQ(G.CurrentState, StatePlaying);
  for (int x = 0; x < BoardColumns; ++x) {
    for (int y = 0; y < BoardRows; ++y) {
      EXPECT_EQ(G.Board[x][y], 0);
      EXPECT_EQ(G.MarkGrid[x][y], 0);
      EXPECT_EQ(G.ExplodeGrid[x][y], 0);
    }
  }
  for (int k = 0; k < 3; ++k) {
    EXPECT_GE(G.Piece[k], 1);
    EXPECT_LE(G.Piece[k], 6);
    EXPECT_GE(G.NextPiece[k], 1);
    EXPECT_LE(G.NextPiece[k], 6);
  }
  EXPECT_EQ(G.Score, 0);
  EXPECT_EQ(G.Level, 1);
  EXPECT_EQ(G.Stones, 0);
  EXPECT_EQ(G.ToGo, 30);
  EXPECT_EQ(G.PieceX, 320.0f);
  EXPECT_EQ(G.PieceY, -9.0f);
  EXPECT_EQ(Events("sound"), (std::vector<std::string>{"sound stop \"Sound\\Stakko.wav\"",
                                                      "sound play \"Sound\\Nu Battle.wav\" loop=1 vol=50"}));

  // The first play frame presents the slide's last picture (white); the
  // play picture follows in the second.
  RunPlayFrame();
  EXPECT_EQ(Pixel(5, 470), MakeColour(255, 255, 255));
  RunPlayFrame();
  EXPECT_EQ(Pixel(5, 470), MakeColour(235, 235, 235));
}

TEST_F(StartingAGame, AGameStartedFromTheFirstTitleHasItsPictureStandingStillInTheFirstFrame) {
  backend.frameStepMicros = 100'000;
  backend.pollStepMicros = 0;
  // Space on the first title: one frame of the wave, then the slide, with
  // the frame time start-up gave (no timed screen has run yet).
  G.CurrentState = StateTitle;
  backend.SetKey(KeySpace, true);
  RunCurrentState();
  ASSERT_EQ(G.CurrentState, StateGetReady);
  const int64_t before = backend.framesPresented;
  backend.framesToKeep = {before + 1, before + 2, before + 3};
  RunCurrentState();
  auto at = [&](int64_t frame, int x, int y) {
    return platform::PixelToColour(backend.keptFrames.at(before + frame)[static_cast<size_t>(y * 640 + x)]);
  };
  // Frame 1 at x 641, off screen; frame 2 has not moved; frame 3 is 19
  // pixels in (0.19 pixel a millisecond for 100 ms).
  EXPECT_EQ(at(1, 639, 230), MakeColour(255, 255, 255));
  EXPECT_EQ(at(2, 639, 230), MakeColour(255, 255, 255));
  EXPECT_EQ(at(3, 621, 230), MakeColour(255, 255, 255));
  EXPECT_EQ(at(3, 622, 230), GetReadyColour);
  EXPECT_EQ(at(3, 639, 221), GetReadyColour);
  EXPECT_EQ(at(3, 639, 258), GetReadyColour);
  EXPECT_EQ(at(3, 639, 259), MakeColour(255, 255, 255));

  // After a timed screen the first frame's step is the last one it measured.
  backend.keptFrames.clear();
  const int64_t second = backend.framesPresented + 2;
  backend.framesToKeep = {second};
  G.FrameTimeMs = 100;
  RunSlide();
  EXPECT_EQ(at(second - before, 622, 230), GetReadyColour);
  EXPECT_EQ(at(second - before, 621, 230), MakeColour(255, 255, 255));
}

TEST_F(StartingAGame, KeysNeitherShortenNorEndTheSlide) {
  backend.frameStepMicros = 10'000;
  backend.pollStepMicros = 0;
  G.FrameTimeMs = 10;
  int64_t quiet = RunSlide();
  EXPECT_GT(quiet, 100);
  EXPECT_EQ(G.CurrentState, StatePlaying);
  G.CurrentState = StateGetReady;
  G.FrameTimeMs = 10;
  backend.SetKey(KeySpace, true);
  backend.SetKey(KeyEscape, true);
  EXPECT_EQ(RunSlide(), quiet);
  EXPECT_EQ(G.CurrentState, StatePlaying);
}
