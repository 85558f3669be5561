// The falling piece's cell from its pixel position, and cycling its jewels.
#include <gtest/gtest.h>

#include "flow/globals.h"
#include "play/board.h"

namespace {

struct CellCase {
  float x;
  float y;
  int column;
  int row;
};

}  // namespace

TEST(PieceCell, SpawnEdgesAndHalfwayRoundingToEven) {
  const CellCase cases[] = {
      {320.0f, -9.0f, 3, 1},  // the spawn position
      {224.0f, -9.0f, 0, 1},  // the left wall column
      {384.0f, -9.0f, 5, 1},  // the right wall column
      {320.0f, 6.9f, 3, 1},
      {320.0f, 7.0f, 3, 2},    // 1.5: halfway, to the even row 2
      {320.0f, 39.0f, 3, 2},   // 2.5: halfway, to the even row 2 again
      {320.0f, 39.5f, 3, 3},
      {320.0f, 359.0f, 3, 12},  // 12.5 stays on 12: not yet landed
      {320.0f, 359.5f, 3, 13},  // past the floor
      {240.0f, -9.0f, 0, 1},    // 0.5 rounds to column 0
      {272.0f, -9.0f, 2, 1},    // 1.5 rounds to column 2
  };
  for (const CellCase& c : cases) {
    G.PieceX = c.x;
    G.PieceY = c.y;
    UpdatePieceCell();
    EXPECT_EQ(G.PieceColumn, c.column) << "x=" << c.x;
    EXPECT_EQ(G.PieceRow, c.row) << "y=" << c.y;
  }
}

TEST(PieceCell, CyclingMovesJewelsUpAndThreeCyclesRestoreTheOrder) {
  G.Piece[0] = 1;
  G.Piece[1] = 2;
  G.Piece[2] = 3;
  CycleJewels();
  EXPECT_EQ(G.Piece[0], 2);
  EXPECT_EQ(G.Piece[1], 3);
  EXPECT_EQ(G.Piece[2], 1);
  CycleJewels();
  CycleJewels();
  EXPECT_EQ(G.Piece[0], 1);
  EXPECT_EQ(G.Piece[1], 2);
  EXPECT_EQ(G.Piece[2], 3);
}
