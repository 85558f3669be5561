// Lines, explosions, settling, chains, scoring and level-ups.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "play/board.h"
#include "play/matching.h"
#include "play/play.h"
#include "platform/keycodes.h"
#include "platform/timing.h"
#include "tests/play/play_fixture.h"

using playtest::ExplosionColour;
using playtest::JewelColour;

namespace {

using Cells = std::set<std::pair<int, int>>;  // (column, row)

Cells Exploding() {
  Cells cells;
  for (int x = 0; x < BoardColumns; ++x)
    for (int y = 0; y < BoardRows; ++y)
      if (G.ExplodeGrid[x][y] != 0) cells.insert({x, y});
  return cells;
}

Cells Marked() {
  Cells cells;
  for (int x = 0; x < BoardColumns; ++x)
    for (int y = 0; y < BoardRows; ++y)
      if (G.MarkGrid[x][y] != 0) cells.insert({x, y});
  return cells;
}

class Matching : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    G.FallPerLevel = 0.0f;  // the piece hangs above the well out of the way
    G.PieceRow = 1;
  }

  void Scan() {
    G.ScanRequested = 1;
    G.ExplosionDrawn = 0;
    ScanForRuns();
  }

  // Play frames until the count of explode events reaches n (or a limit).
  int RunUntilExplosions(size_t n, int limit = 5000) {
    for (int frames = 1; frames <= limit; ++frames) {
      RunPlayFrame();
      if (Events("explode").size() >= n) return frames;
    }
    return -1;
  }

  // Play frames until no line is waiting or exploding.
  void RunUntilQuiet(int limit = 5000) {
    for (int n = 0; n < limit; ++n) {
      RunPlayFrame();
      if (G.ScanRequested == 0 && Exploding().empty() && G.ExplosionDrawn == 0) return;
    }
    ADD_FAILURE() << "the Board never settled";
  }
};

struct LineCase {
  const char* name;
  std::vector<std::string> rows;
  Cells expected;
};

}  // namespace

TEST_F(Matching, ThreeOrMoreAlikeInAnyDirectionExplodeWholeAndTwoNever) {
  const LineCase cases[] = {
      {"row of 3", {"222..."}, {{0, 12}, {1, 12}, {2, 12}}},
      {"row of 4, found last from its right end", {".3333."}, {{1, 12}, {2, 12}, {3, 12}, {4, 12}}},
      {"column of 3, found last from its bottom", {"....5.", "....5.", "....5."}, {{4, 10}, {4, 11}, {4, 12}}},
      {"diagonal", {"..1...", ".13...", "134..."}, {{0, 12}, {1, 11}, {2, 10}}},
      {"other diagonal", {"6.....", "46....", "356..."}, {{0, 10}, {1, 11}, {2, 12}}},
      {"two alike", {"11....", "22...."}, {}},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetBoard(c.rows);
    Scan();
    EXPECT_EQ(Exploding(), c.expected);
    EXPECT_EQ(G.ScanRequested, c.expected.empty() ? 0 : 1);
    EXPECT_TRUE(Marked().empty());
    for (auto& column : G.ExplodeGrid)
      for (auto& cell : column) cell = 0;
  }
}

TEST_F(Matching, OnlyTheEndsOfALineFindItNotTheMiddle) {
  SetBoard({"444..."});
  G.MarkGrid[1][12] = 1;
  EXPECT_EQ(CountRun(1, 12), -1);
  EXPECT_EQ(Marked(), (Cells{{1, 12}}));  // left with only its own mark
  ClearMarks();
  G.MarkGrid[0][12] = 1;
  EXPECT_EQ(CountRun(0, 12), 3);
  EXPECT_EQ(Marked(), (Cells{{0, 12}, {1, 12}, {2, 12}}));
  ClearMarks();
  G.MarkGrid[2][12] = 1;
  EXPECT_EQ(CountRun(2, 12), 3);
  // Only the one direction is counted: from the middle of a row of five the
  // line ahead of it is too short.
  SetBoard({"55555."});
  ClearMarks();
  G.MarkGrid[2][12] = 1;
  EXPECT_EQ(CountRun(2, 12), 3);  // the two to its left and itself
  EXPECT_EQ(Marked(), (Cells{{0, 12}, {1, 12}, {2, 12}}));
}

TEST_F(Matching, OfAnLOfFiveOnlyTheRowExplodesAndTheRestSettlesWithoutExploding) {
  SetBoard({"..1...", "..1...", "111...", "234...", "562..."});
  G.ScanRequested = 1;
  RunPlayFrame();
  // The corner is scanned last and looks left before it looks up.
  EXPECT_EQ(Exploding(), (Cells{{0, 10}, {1, 10}, {2, 10}}));
  RunUntilQuiet();
  EXPECT_EQ(Events("explode"), std::vector<std::string>{"explode cells=3 score=3"});
  const std::vector<std::string> after = {"......", "......", "......", "......", "......", "......",
                                          "......", "......", "..1...", "..1...", "234...", "562..."};
  EXPECT_EQ(BoardRowsText(), after);
}

TEST_F(Matching, TwoLinesExplodeOneAfterTheOtherTheLastFoundFirst) {
  SetBoard({"1...2.", "1...2.", "1...2."});
  G.ScanRequested = 1;
  RunPlayFrame();
  EXPECT_EQ(Exploding(), (Cells{{4, 10}, {4, 11}, {4, 12}}));
  EXPECT_EQ(G.Board[0][12], 1);  // the other line waits
  // Find the frame of the removal, then the chain scan two frames later.
  int frames = 0;
  while (G.Board[4][12] != 0 && frames < 2000) {
    RunPlayFrame();
    ++frames;
  }
  ASSERT_EQ(G.Board[4][12], 0);
  ASSERT_EQ(Events("explode").size(), 1u);
  RunPlayFrame();
  EXPECT_EQ(Events("explode").size(), 1u);
  RunPlayFrame();
  ASSERT_EQ(Events("explode").size(), 2u);
  EXPECT_EQ(Exploding(), (Cells{{0, 10}, {0, 11}, {0, 12}}));
  RunUntilQuiet();
  EXPECT_EQ(BoardRowsText(), std::vector<std::string>(12, "......"));
}

TEST_F(Matching, TheExplosionIsDrawnOverTheLastPictureAndLastsTenFramesOf50Ms) {
  backend.pollStepMicros = 0;
  for (int n = 0; n < 5; ++n) RunPlayFrame();  // the clock is past 0
  SetBoard({"222...", "345..."});
  RunPlayFrame();  // draws the picture the explosion will be drawn over
  G.ScanRequested = 1;
  RunPlayFrame();
  // The first cell drawn showed frame 0 and moved the animation on; the
  // cells after it show frame 1. The cell beside still shows its jewel.
  EXPECT_EQ(Pixel(224 + 5, 55 + 32 * 11 + 5), ExplosionColour(0));
  EXPECT_EQ(Pixel(224 + 32 + 5, 55 + 32 * 11 + 5), ExplosionColour(1));
  EXPECT_EQ(Pixel(224 + 64 + 5, 55 + 32 * 11 + 5), ExplosionColour(1));
  EXPECT_EQ(Pixel(224 + 5, 55 + 32 * 12 + 5), JewelColour(3));
  const int64_t started = ElapsedMs();

  std::vector<int> shown;  // the frame seen on the last cell, once per change
  int64_t removedAt = -1;
  for (int n = 0; n < 1000 && removedAt < 0; ++n) {
    RunPlayFrame();
    Colour c = Pixel(224 + 64 + 5, 55 + 32 * 11 + 5);
    for (int f = 0; f <= 10; ++f)
      if (c == ExplosionColour(f) && (shown.empty() || shown.back() != f)) shown.push_back(f);
    if (G.Board[2][11] == 0) removedAt = ElapsedMs();
  }
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  // Frames 1 to 9 each a little over 50 ms, then the jewels are gone.
  EXPECT_GE(removedAt - started, 450);
  EXPECT_LE(removedAt - started, 470);
  RunPlayFrame();
  RunPlayFrame();
  EXPECT_EQ(Pixel(224 + 64 + 5, 55 + 32 * 11 + 5), JewelColour(0));  // the empty tile
  EXPECT_EQ(Pixel(224 + 64 + 5, 55 + 32 * 12 + 5), JewelColour(5));
  EXPECT_EQ(Events("sound play \"Sound\\Explosion.wav\"").size(), 1u);
}

TEST_F(Matching, SettlingPacksEveryColumnKeepingTheOrder) {
  SetBoard({"1.....", "......", "2..6..", "..5...", "......", "3.4...", "4.3..."});
  G.ExplodeGrid[2][12] = 1;
  RemoveExploded();
  SettleJewels();
  const std::vector<std::string> after = {"......", "......", "......", "......", "......", "......",
                                          "......", "......", "1.....", "2.....", "3.5...", "4.46.."};
  EXPECT_EQ(BoardRowsText(), after);
  EXPECT_TRUE(Exploding().empty());
}

TEST_F(Matching, APieceLockedOnExplodingJewelsSettlesWhenTheyGo) {
  SetBoard({"...1..", "...1..", "...1.."});
  SetPiece(4, 5, 6);
  G.ScanRequested = 1;
  RunPlayFrame();
  ASSERT_EQ(Exploding().size(), 3u);
  backend.SetKey(KeySpace, true);
  RunPlayFrame();
  EXPECT_EQ(Events("lock").back(), "lock col=3 row=9");
  RunUntilQuiet();
  EXPECT_EQ(G.Board[3][10], 4);
  EXPECT_EQ(G.Board[3][11], 5);
  EXPECT_EQ(G.Board[3][12], 6);
  EXPECT_EQ(G.Board[3][9], 0);
}

TEST_F(Matching, EachJewelScoresLevelTimesThePieceRowOfTheMoment) {
  // Hard-dropped to rest in row 12 on level 1: 3 x 12.
  SetPiece(2, 2, 2);
  backend.SetKey(KeySpace, true);
  RunPlayFrame();
  RunPlayFrame();
  EXPECT_EQ(Events("explode"), std::vector<std::string>{"explode cells=3 score=36"});
  EXPECT_EQ(G.Stones, 3);
  EXPECT_EQ(G.ToGo, 27);
  backend.SetKey(KeySpace, false);
  RunUntilQuiet();

  // Landed by falling: by the next scan PieceRow is the new piece's row, 1.
  SetPiece(3, 3, 3);
  G.FallPerLevel = 1.0f;
  while (Events("lock").size() < 2) RunPlayFrame();
  G.FallPerLevel = 0.0f;
  RunPlayFrame();
  EXPECT_EQ(Events("explode").back(), "explode cells=3 score=39");
}

TEST_F(Matching, LevelsRiseMidLineAndTheBannerRestartsItsFiveSeconds) {
  // ToGo 2 on level 1: two jewels at level 1, two at level 2.
  SetBoard({"1111.."});
  G.PieceRow = 12;
  G.ToGo = 2;
  Scan();
  EXPECT_EQ(G.Level, 2);
  EXPECT_EQ(G.ToGo, 48);
  EXPECT_EQ(G.Stones, 4);
  EXPECT_EQ(G.Score, 12 + 12 + 24 + 24);
  EXPECT_EQ(Events("levelup"), std::vector<std::string>{"levelup level=2"});
  EXPECT_EQ(Events("explode").back(), "explode cells=4 score=72");
  EXPECT_EQ(G.LevelBanner, 1);
  const int32_t firstEnd = G.LevelBannerTime;
  EXPECT_EQ(firstEnd, static_cast<int32_t>(ElapsedMs()) + 5000);

  // The last jewel of a quota: the level rises on it, the next quota is
  // 10 L + 30, and the banner's five seconds start again.
  backend.now += 2'000'000;
  SetBoard({"333..."});
  for (auto& column : G.ExplodeGrid)
    for (auto& cell : column) cell = 0;
  G.ToGo = 3;
  Scan();
  EXPECT_EQ(G.Level, 3);
  EXPECT_EQ(G.ToGo, 60);
  EXPECT_EQ(G.LevelBannerTime, firstEnd + 2000);

  // Level 1's own quota is 30, not the rule's 40.
  G.Level = 1;
  SetBoard({"555..."});
  G.ToGo = 3;
  Scan();
  EXPECT_EQ(G.Level, 2);
  EXPECT_EQ(G.ToGo, 50);
}
