#include "play/matching.h"

#include <string>

#include "flow/game_clock.h"
#include "flow/globals.h"
#include "play/board.h"
#include "play/levels.h"
#include "platform/image.h"
#include "platform/sound.h"
#include "platform/trace.h"

namespace {

// The eight directions in the order they are tried. The order decides
// which cells of a line end up exploding, so it must not change.
constexpr int kDirections[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1},
                                   {0, 1},   {1, -1}, {1, 0},  {1, 1}};

constexpr int kExplosionFrames = 10;
constexpr int kExplosionFrameMs = 50;

bool AnyExploding() {
  for (const auto& column : G.ExplodeGrid)
    for (int32_t cell : column)
      if (cell != 0) return true;
  return false;
}

int CountExploding() {
  int n = 0;
  for (const auto& column : G.ExplodeGrid)
    for (int32_t cell : column)
      if (cell == 1) ++n;
  return n;
}

}  // namespace

void ScanForRuns() {
  if (G.ScanRequested == 0 || G.ExplosionDrawn != 0) return;
  bool found = false;
  for (int x = 0; x < BoardColumns; ++x) {
    for (int y = 1; y < BoardRows; ++y) {
      if (G.Board[x][y] == 0) continue;
      G.MarkGrid[x][y] = 1;
      if (CountRun(x, y) == -1) {
        ClearMarks();
      } else {
        // Each line found replaces the one before: only the last one in
        // scan order explodes now, the others wait for the next scan.
        TakeRun();
        found = true;
      }
    }
  }
  if (!found) {
    G.ScanRequested = 0;
    return;
  }
  // ScanRequested stays set: once this line is gone the Board is searched
  // again for the lines the settling jewels make.
  ScoreExplosion();
  TraceEvent("explode cells=" + std::to_string(CountExploding()) + " score=" + std::to_string(G.Score));
}

int CountRun(int x, int y) {
  int count = 1;
  for (const auto& d : kDirections) {
    int cx = x;
    int cy = y;
    while (InWell(cx + d[0], cy + d[1]) && G.Board[cx + d[0]][cy + d[1]] == G.Board[cx][cy]) {
      ++count;
      cx += d[0];
      cy += d[1];
      G.MarkGrid[cx][cy] = 1;
    }
    if (count >= 3) return count;
    count = 1;
    ClearMarks();
    G.MarkGrid[x][y] = 1;
  }
  return -1;
}

void ClearMarks() {
  for (auto& column : G.MarkGrid)
    for (int32_t& cell : column) cell = 0;
}

void TakeRun() {
  for (int x = 0; x < BoardColumns; ++x)
    for (int y = 0; y < BoardRows; ++y) G.ExplodeGrid[x][y] = G.MarkGrid[x][y];
  ClearMarks();
}

void ScoreExplosion() {
  for (int x = 0; x < BoardColumns; ++x) {
    for (int y = 0; y < BoardRows; ++y) {
      if (G.ExplodeGrid[x][y] != 1) continue;
      // Scored one jewel at a time: a level-up half way through a line
      // makes the rest of it count at the new level.
      --G.ToGo;
      G.Score += G.Level * G.PieceRow;
      ++G.Stones;
      CheckLevelUp();
    }
  }
}

void AnimateExplosion() {
  if (G.ExplosionDrawn == 0 && AnyExploding()) PlaySoundId(G.ExplosionSound, 0, -1);
  G.ExplosionDrawn = 0;
  for (int x = 0; x < BoardColumns; ++x) {
    for (int y = 0; y < BoardRows; ++y) {
      if (G.ExplodeGrid[x][y] == 0) continue;
      // Drawn over the picture of the previous frame, just before it is
      // presented, covering the jewel still drawn there.
      BeginScreenDrawing();
      BlitImage(G.ExplosionImages[G.ExplosionFrame], CellScreenX(x), CellScreenY(y));
      EndScreenDrawing();
      G.ExplosionDrawn = 1;
      if (ClockIsPast(G.ExplosionFrameTime)) {
        ++G.ExplosionFrame;
        G.ExplosionFrameTime = DeadlineIn(kExplosionFrameMs);
      }
      if (G.ExplosionFrame >= kExplosionFrames) {
        G.ExplosionFrame = 0;
        RemoveExploded();
        SettleJewels();
      }
    }
  }
}

void RemoveExploded() {
  for (int x = 0; x < BoardColumns; ++x) {
    for (int y = 0; y < BoardRows; ++y) {
      if (G.ExplodeGrid[x][y] > 0) G.Board[x][y] = 0;
      G.ExplodeGrid[x][y] = 0;
    }
  }
}

void SettleJewels() {
  for (int x = 0; x < BoardColumns; ++x) {
    int target = BoardRows - 1;
    while (target >= 0 && G.Board[x][target] != 0) --target;
    if (target < 0) continue;
    for (int y = target - 1; y >= 0; --y) {
      if (G.Board[x][y] == 0) continue;
      G.Board[x][target] = G.Board[x][y];
      G.Board[x][y] = 0;
      --target;
    }
  }
}
