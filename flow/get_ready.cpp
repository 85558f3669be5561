#include "flow/get_ready.h"

#include "flow/game_clock.h"
#include "flow/globals.h"
#include "play/board.h"
#include "play/levels.h"
#include "platform/image.h"
#include "platform/screen.h"
#include "platform/sound.h"

namespace {

constexpr float kSlideStartX = 641.0f;  // just beyond the right edge
constexpr float kSpeedUpFromX = 207.0f;
constexpr float kSpeedUpPerFrame = 0.0002f;
constexpr float kGoneBeforeX = -226.0f;  // the picture has left on the left
constexpr int kSlideY = 221;

}  // namespace

void RunGetReady() {
  ClearBoards();
  G.Score = 0;
  G.Level = 1;
  G.Stones = 0;
  G.ToGo = LevelQuota(1);
  G.PieceX = SpawnX;
  G.PieceY = SpawnY;
  DealFirstPiece();
  StartPlayMusic();
  SlideGetReady();
}

void ClearBoards() {
  for (int x = 0; x < BoardColumns; ++x) {
    for (int y = 0; y < BoardRows; ++y) {
      G.Board[x][y] = 0;
      G.ExplodeGrid[x][y] = 0;
      G.MarkGrid[x][y] = 0;
    }
  }
}

void StartPlayMusic() {
  StopSoundId(G.TitleMusic);
  PlaySoundId(G.PlayMusic, 1, G.MusicVolume);
}

void SlideGetReady() {
  float x = kSlideStartX;
  float acceleration = 0.0f;
  StartFrameTiming();
  do {
    ClearBackBuffer(MakeColour(255, 255, 255));
    // The position drawn is the one computed in the frame before.
    DisplaySpriteKeyed(G.GetReadySprite, RoundHalfEven(x), kSlideY);
    x = x - (G.GetReadySpeed + acceleration) * static_cast<float>(G.FrameTimeMs);
    // Speeds up once per frame, not per millisecond, from the middle on.
    if (x <= kSpeedUpFromX) acceleration = acceleration + kSpeedUpPerFrame;
    FlipFrame();
    AdvanceFrameTiming();
  } while (x >= kGoneBeforeX);
  G.CurrentState = StatePlaying;
}
