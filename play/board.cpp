#include "play/board.h"

#include "platform/timing.h"

namespace {

Jewel RandomJewel() { return static_cast<Jewel>(RandomRange(6, 1)); }

}  // namespace

void UpdatePieceCell() {
  // In double precision: PieceY + 9 is exact there, so a piece exactly
  // halfway between two rows rounds to the even one every time.
  G.PieceColumn = RoundHalfEven((static_cast<double>(G.PieceX) - WellLeft) / CellSize);
  G.PieceRow = RoundHalfEven((static_cast<double>(G.PieceY) + 9.0) / CellSize + 1.0);
}

void DealFirstPiece() {
  for (Jewel& jewel : G.Piece) jewel = RandomJewel();
  DealNextPiece();
}

void DealNextPiece() {
  for (Jewel& jewel : G.NextPiece) jewel = RandomJewel();
}

void CycleJewels() {
  Jewel top = G.Piece[0];
  G.Piece[0] = G.Piece[1];
  G.Piece[1] = G.Piece[2];
  G.Piece[2] = top;
}
