#include "play/play_screen.h"

#include <string>

#include "flow/game_clock.h"
#include "flow/globals.h"
#include "play/board.h"
#include "play/levels.h"
#include "platform/draw.h"
#include "platform/image.h"
#include "platform/screen.h"
#include "scores/bitmap_font.h"

namespace {

// The next piece stands just left of the well.
constexpr int kNextX = 188;
constexpr int kNextY = 58;

void DrawPanelNumbers() {
  SetPenColour(MakeColour(255, 255, 255));
  // Invert without transparent text: white digits on the session's black
  // text background.
  SetPaintMode(PaintInvert);
  DrawTextAt(450, 80, std::to_string(G.Score));
  DrawTextAt(450, 180, std::to_string(G.Level));
  DrawTextAt(450, 280, std::to_string(G.Stones));
  DrawTextAt(450, 380, std::to_string(G.ToGo));
  // Back to copying, so the jewel images are not combined with the grey.
  SetPaintMode(PaintTransparentText);
}

}  // namespace

void FlipAndClear() {
  FlipFrame();
  ClearBackBuffer(MakeColour(0, 0, 0));
}

void DrawPlayScreen() {
  StartFrameTiming();
  const int grey = BackgroundGrey(G.Level);
  ClearBackBuffer(MakeColour(grey, grey, grey));

  DrawBitmapText(G.LargeFont, "SCORE", 420, 50);
  DrawBitmapText(G.LargeFont, "LEVEL", 420, 150);
  DrawBitmapText(G.LargeFont, "STONE", 420, 250);
  DrawBitmapText(G.LargeFont, "TO GO", 420, 350);
  DrawBitmapText(G.LargeFont, "NEXT", 50, 50);

  BeginScreenDrawing();
  DrawPanelNumbers();
  // Row 0 lies above the well and is never drawn.
  for (int x = 0; x < BoardColumns; ++x)
    for (int y = 1; y < BoardRows; ++y) BlitImage(G.JewelImages[G.Board[x][y]], CellScreenX(x), CellScreenY(y));
  const int pieceX = RoundHalfEven(G.PieceX);
  for (int k = 0; k < 3; ++k)
    BlitImage(G.JewelImages[G.Piece[k]], pieceX, RoundHalfEven(static_cast<double>(G.PieceY) + CellSize * k));
  for (int k = 0; k < 3; ++k) BlitImage(G.JewelImages[G.NextPiece[k]], kNextX, kNextY + CellSize * k);
  EndScreenDrawing();

  if (G.LevelBanner != 0) {
    DrawBitmapText(G.LargeFont, "LEVEL", 50, 180);
    DrawBitmapText(G.LargeFont, "UP", 70, 230);
    // Shown once more in the frame in which its time runs out.
    if (ClockIsPast(G.LevelBannerTime)) G.LevelBanner = 0;
  }
}
