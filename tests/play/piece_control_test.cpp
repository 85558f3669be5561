// The falling piece: where it comes to rest, the keys and their repeat
// delays, the Space latch and the end of the game.
#include <gtest/gtest.h>

#include "play/board.h"
#include "play/piece_control.h"
#include "play/play.h"
#include "platform/keycodes.h"
#include "platform/internal/back_buffer.h"
#include "platform/screen.h"
#include "platform/timing.h"
#include "tests/play/play_fixture.h"

using playtest::JewelColour;

namespace {

class PieceControl : public PlayTest {
 protected:
  // Runs play frames until a lock or the frame limit; returns the frames run.
  int RunUntilLock(int limit) {
    size_t before = Events("lock").size() + Events("gameover").size();
    for (int n = 1; n <= limit; ++n) {
      RunPlayFrame();
      if (Events("lock").size() + Events("gameover").size() > before) return n;
    }
    return -1;
  }
};

}  // namespace

TEST_F(PieceControl, HardDropAndFallingBothRestOnTheFloorOrTheJewelBelow) {
  // Hard drop from the spawn position: straight to the floor of column 3.
  SetPiece(1, 2, 3);
  G.NextPiece[0] = 4;
  G.NextPiece[1] = 5;
  G.NextPiece[2] = 6;
  backend.SetKey(KeySpace, true);
  RunPlayFrame();
  ASSERT_EQ(Events("lock"), std::vector<std::string>{"lock col=3 row=12"});
  EXPECT_EQ(G.Board[3][10], 1);
  EXPECT_EQ(G.Board[3][11], 2);
  EXPECT_EQ(G.Board[3][12], 3);
  EXPECT_EQ(G.Piece[0], 4);  // the next piece comes in at the spawn position
  EXPECT_EQ(G.Piece[2], 6);
  EXPECT_EQ(G.PieceX, SpawnX);
  EXPECT_EQ(G.PieceY, SpawnY);
  EXPECT_EQ(G.ScanRequested, 1);
  backend.SetKey(KeySpace, false);

  // Left to fall, a piece comes to rest in the same cells. A faster fall
  // keeps the test short; the landing rule is the same.
  const auto hardDropped = BoardRowsText();
  SetBoard({});
  SetPiece(1, 2, 3);
  G.FallPerLevel = 1.0f;
  int frames = RunUntilLock(1000);
  EXPECT_EQ(Events("lock").back(), "lock col=3 row=12");
  EXPECT_EQ(BoardRowsText(), hardDropped);
  // Landed once the bottom edge came within half a cell of the floor:
  // PieceY past 359, where the row rounds up to 13.
  EXPECT_EQ(frames, 369);

  // On a jewel: the piece stops on top of it whichever way it came down.
  SetBoard({"...4.."});
  SetPiece(1, 2, 3);
  RunUntilLock(1000);
  EXPECT_EQ(Events("lock").back(), "lock col=3 row=11");
  const auto fallen = BoardRowsText();
  SetBoard({"...4.."});
  SetPiece(1, 2, 3);
  backend.SetKey(KeySpace, true);
  RunPlayFrame();
  EXPECT_EQ(Events("lock").back(), "lock col=3 row=11");
  EXPECT_EQ(BoardRowsText(), fallen);
  backend.SetKey(KeySpace, false);

  // More than a cell per frame: from row 12 the row jumps straight to 14,
  // and the piece still rests on the floor, nothing written past it.
  SetBoard({});
  SetPiece(1, 2, 3);
  G.FallPerLevel = 40.0f;
  RunUntilLock(100);
  EXPECT_EQ(Events("lock").back(), "lock col=3 row=12");
  EXPECT_EQ(G.Board[3][12], 3);
  EXPECT_EQ(G.Board[4][0], 0);
}

TEST_F(PieceControl, ArrowsRepeatEvery75AndUpEvery100MillisecondsAndBlockedMovesStillWait) {
  backend.pollStepMicros = 0;  // one millisecond per frame exactly
  G.FallPerLevel = 0.0f;       // the piece hangs at the spawn height
  backend.SetKey(KeyLeft, true);
  const std::vector<int64_t> moves = playtest::LeftMovesOver(400);
  ASSERT_EQ(moves.size(), 3u);  // 3, 2, 1, 0 and then the wall
  EXPECT_LE(moves[0], 2);       // the first press acts at once
  EXPECT_EQ(moves[1] - moves[0], 76);
  EXPECT_EQ(moves[2] - moves[1], 76);

  // At the wall Left does nothing but still holds off Right for 75 ms.
  int64_t blockedAt = ElapsedMs();
  backend.SetKey(KeyRight, true);
  backend.SetKey(KeyLeft, false);
  while (G.PieceColumn == 0 && ElapsedMs() < blockedAt + 200) RunPlayFrame();
  EXPECT_EQ(G.PieceColumn, 1);
  EXPECT_GE(ElapsedMs() - blockedAt, 1);
  EXPECT_LE(ElapsedMs() - blockedAt, 76);
  backend.SetKey(KeyRight, false);

  // Up cycles the jewels, again only every 100 ms and a bit.
  for (int n = 0; n < 200; ++n) RunPlayFrame();  // let the delay run out
  SetPiece(1, 2, 3);
  backend.SetKey(KeyUp, true);
  std::vector<int64_t> cycles;
  int top = 1;
  for (int n = 0; n < 320; ++n) {
    RunPlayFrame();
    if (G.Piece[0] != top) {
      top = G.Piece[0];
      cycles.push_back(ElapsedMs());
    }
  }
  ASSERT_EQ(cycles.size(), 4u);
  EXPECT_EQ(cycles[1] - cycles[0], 101);
  EXPECT_EQ(cycles[3] - cycles[2], 101);
  EXPECT_EQ(G.Piece[0], 2);  // four cycles: one more than a full turn
  EXPECT_EQ(G.Piece[1], 3);
  EXPECT_EQ(G.Piece[2], 1);

  // Escape is not a play key.
  backend.SetKey(KeyEscape, true);
  RunPlayFrame();
  EXPECT_EQ(G.CurrentState, StatePlaying);
}

TEST_F(PieceControl, OnePressOfSpaceDropsExactlyOnePiece) {
  SetPiece(1, 2, 3);
  G.NextPiece[0] = 4;
  G.NextPiece[1] = 5;
  G.NextPiece[2] = 6;
  backend.SetKey(KeySpace, true);
  for (int n = 0; n < 300; ++n) RunPlayFrame();
  EXPECT_EQ(Events("lock"), std::vector<std::string>{"lock col=3 row=12"});
  backend.SetKey(KeySpace, false);
  RunPlayFrame();
  EXPECT_EQ(Events("lock").size(), 1u);
  backend.SetKey(KeySpace, true);
  RunPlayFrame();
  ASSERT_EQ(Events("lock").size(), 2u);
  EXPECT_EQ(Events("lock").back(), "lock col=3 row=9");
  // Every lock starts the drop sound once.
  EXPECT_EQ(Events("sound play \"Sound\\Drop.wav\" loop=0 vol=-1").size(), 2u);
}

TEST_F(PieceControl, ArrowsInTheFrameOfAHardDropMoveTheNextPieceBesideTheRestingOne) {
  G.FallPerLevel = 0.0f;
  RunPlayFrame();  // lets the start-up key delay pass
  // Column 2 is free beside the resting row: the new piece moves there.
  backend.SetKey(KeySpace, true);
  backend.SetKey(KeyLeft, true);
  RunPlayFrame();
  EXPECT_EQ(Events("lock").back(), "lock col=3 row=12");
  EXPECT_EQ(G.PieceColumn, 2);
  EXPECT_EQ(G.PieceX, 288.0f);
  EXPECT_EQ(G.PieceY, SpawnY);

  // A jewel beside the resting row blocks the new piece, although its own
  // row near the top is free.
  backend.SetKey(KeySpace, false);
  backend.SetKey(KeyLeft, false);
  for (int n = 0; n < 100; ++n) RunPlayFrame();
  SetBoard({"..5..."});
  G.PieceX = SpawnX;
  backend.SetKey(KeySpace, true);
  backend.SetKey(KeyLeft, true);
  RunPlayFrame();
  EXPECT_EQ(Events("lock").back(), "lock col=3 row=12");
  EXPECT_EQ(G.PieceX, SpawnX);
}

TEST_F(PieceControl, ARestInRowTwoEndsTheGameAndOneInRowThreeDoesNot) {
  // Rows 4 to 12 of column 3 taken: the piece fills rows 1 to 3.
  SetBoard({"...1..", "...2..", "...1..", "...2..", "...1..", "...2..", "...1..", "...2..", "...1.."});
  SetPiece(3, 4, 5);
  G.NextPiece[0] = 6;
  G.NextPiece[1] = 6;
  G.NextPiece[2] = 4;
  backend.SetKey(KeySpace, true);
  RunPlayFrame();
  EXPECT_EQ(Events("lock").back(), "lock col=3 row=3");
  EXPECT_EQ(G.Board[3][1], 3);
  EXPECT_EQ(G.CurrentState, StatePlaying);
  backend.SetKey(KeySpace, false);
  RunPlayFrame();

  // The column is full: the next piece would rest with its bottom in row 1.
  const auto before = BoardRowsText();
  backend.SetKey(KeySpace, true);
  RunPlayFrame();
  EXPECT_EQ(G.CurrentState, StateGameOver);
  EXPECT_EQ(Events("gameover").size(), 1u);
  EXPECT_EQ(BoardRowsText(), before);  // nothing written, nothing cleared
  EXPECT_EQ(G.Piece[0], 6);            // the piece stays where it stopped
  EXPECT_EQ(G.PieceX, SpawnX);
  // The frame still ran to its end: the last play picture is drawn, with
  // the full column and the piece hanging above the well.
  EXPECT_EQ(platform::ColourToPixel(JewelColour(3)), platform::BackBufferPixels()[(55 + 32 + 5) * 640 + 330]);
  EXPECT_EQ(platform::ColourToPixel(JewelColour(4)), platform::BackBufferPixels()[60 * 640 + 330]);
}

TEST_F(PieceControl, TheLockFramesPictureShowsTheLockedJewelsAndTheNewPieceAtSpawn) {
  SetPiece(1, 2, 3);
  G.NextPiece[0] = 4;
  G.NextPiece[1] = 5;
  G.NextPiece[2] = 6;
  G.FallPerLevel = 0.0f;
  RunPlayFrame();
  backend.SetKey(KeySpace, true);
  RunPlayFrame();  // locks, then draws
  RunPlayFrame();  // presents what the lock frame drew
  EXPECT_EQ(Pixel(224 + 96 + 5, 55 + 32 * 12 + 5), JewelColour(3));
  EXPECT_EQ(Pixel(224 + 96 + 5, 55 + 32 * 10 + 5), JewelColour(1));
  // The new piece: bottom jewel at y 55 to 86, the top one cut by the edge.
  EXPECT_EQ(Pixel(325, 55), JewelColour(6));
  EXPECT_EQ(Pixel(325, 86), JewelColour(6));
  EXPECT_EQ(Pixel(325, 30), JewelColour(5));
  EXPECT_EQ(Pixel(325, 0), JewelColour(4));
}
