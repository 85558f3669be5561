// The well, the jewels and the falling column: where cells sit on screen and
// how new jewels are dealt.
#pragma once

#include "flow/globals.h"
#include "play/well.h"

// Top-left corner on screen of the cell (x, y); row 0 would sit above the
// visible well.
constexpr int WellLeft = 224;
constexpr int WellTop = 55;
constexpr int CellSize = 32;
constexpr int CellScreenX(int column) { return WellLeft + CellSize * column; }
constexpr int CellScreenY(int row) { return WellTop + CellSize * row; }

// Where every new piece appears: column 3, its bottom jewel just above the
// well.
constexpr float SpawnX = 320.0f;
constexpr float SpawnY = -9.0f;

// Rows 1 to 12 are the well; row 0 above it is never examined.
inline bool InWell(int column, int row) {
  return column >= 0 && column < BoardColumns && row >= 1 && row < BoardRows;
}

// PieceColumn and PieceRow from the pixel position of the piece.
void UpdatePieceCell();
// Piece, then NextPiece, from the generator: top, middle, bottom.
void DealFirstPiece();
void DealNextPiece();
// The jewels move up one place; the top one goes to the bottom.
void CycleJewels();
