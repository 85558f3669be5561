#include "play/piece_control.h"

#include <string>

#include "flow/game_clock.h"
#include "flow/globals.h"
#include "play/board.h"
#include "play/matching.h"
#include "platform/input.h"
#include "platform/keycodes.h"
#include "platform/sound.h"
#include "platform/trace.h"

namespace {

constexpr int kCycleRepeatMs = 100;
constexpr int kMoveRepeatMs = 75;

bool CellEmpty(int column, int row) {
  return column >= 0 && column < BoardColumns && row >= 0 && row < BoardRows && G.Board[column][row] == 0;
}

// One column sideways when the neighbouring cell in PieceRow (the row just
// below the bottom jewel) is free; columns are packed, so the cells above
// it are free too.
void TryMove(int step) {
  int target = G.PieceColumn + step;
  if (target >= 0 && target < BoardColumns && CellEmpty(target, G.PieceRow)) {
    G.PieceColumn = target;
    G.PieceX = static_cast<float>(CellScreenX(target));
  }
  // A blocked move still starts the repeat delay.
  G.KeyRepeatTime = DeadlineIn(kMoveRepeatMs);
}

}  // namespace

void FallStep() { G.PieceY = G.PieceY + G.FallPerLevel * static_cast<float>(G.Level); }

void CheckLanding() {
  UpdatePieceCell();
  if (G.PieceRow >= BoardRows || !CellEmpty(G.PieceColumn, G.PieceRow)) LockPiece(G.PieceRow - 1);
}

void HandlePlayKeys() {
  UpdatePieceCell();
  ExamineKeys();
  if (IsKeyDown(KeySpace) && G.DropKeyLatch == 0) {
    LockPiece(G.PieceRow);
    G.DropKeyLatch = 1;
  }
  // PieceColumn and PieceRow are not recomputed after a drop: an arrow
  // acted on now tests the cells beside where the dropped piece came to
  // rest and moves the new piece.
  if (ClockIsPast(G.KeyRepeatTime)) {
    if (IsKeyDown(KeyUp)) {
      CycleJewels();
      G.KeyRepeatTime = DeadlineIn(kCycleRepeatMs);
    }
    if (IsKeyDown(KeyLeft)) TryMove(-1);
    if (IsKeyDown(KeyRight)) TryMove(+1);
  }
  if (WasKeyReleased(KeySpace)) G.DropKeyLatch = 0;
}

void LockPiece(int startRow) {
  const int column = G.PieceColumn;
  // A piece falling more than a cell per frame (only at absurd levels) can
  // be seen past the floor: it still comes to rest on the bottom row rather
  // than being written beyond the Board.
  int row = startRow < BoardRows ? startRow : BoardRows - 1;
  while (row + 1 < BoardRows && CellEmpty(column, row + 1)) ++row;
  G.PieceRow = row;
  if (row <= 2) {
    // The top jewel would lie above the well. The Board and the piece stay
    // as they are: the last picture shows where it stopped.
    if (G.CurrentState != StateGameOver) TraceEvent("gameover");
    G.CurrentState = StateGameOver;
    return;
  }
  G.Board[column][row] = G.Piece[2];
  G.Board[column][row - 1] = G.Piece[1];
  G.Board[column][row - 2] = G.Piece[0];
  TraceEvent("lock col=" + std::to_string(column) + " row=" + std::to_string(row));
  for (int k = 0; k < 3; ++k) G.Piece[k] = G.NextPiece[k];
  G.ScanRequested = 1;
  PlaySoundId(G.DropSound, 0, -1);
  DealNextPiece();
  G.PieceY = SpawnY;
  G.PieceX = SpawnX;
}
