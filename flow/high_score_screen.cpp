#include "flow/high_score_screen.h"

#include "flow/game_clock.h"
#include "flow/globals.h"
#include "flow/leave_by_key.h"
#include "platform/image.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "scores/bitmap_font.h"
#include "scores/high_scores.h"

namespace {

constexpr int kPictureX = 134;
constexpr int32_t kTableShownMs = 20000;

}  // namespace

std::string LeftPad(const std::string& text, int width) {
  if (width <= 0 || text.size() >= static_cast<size_t>(width)) return text;
  return std::string(static_cast<size_t>(width) - text.size(), ' ') + text;
}

// The picture comes down from above the screen at the shared slide speed
// and stops as soon as its top reaches the first pixel row.
void SlideHighscorePicture() {
  StartFrameTiming();
  float top = -150.0f;
  do {
    ClearBackBuffer(0);
    top += G.SlideSpeed * static_cast<float>(G.FrameTimeMs);
    BeginScreenDrawing();
    BlitImage(G.HighscoreImage, kPictureX, RoundHalfEven(top));
    EndScreenDrawing();
    FlipFrame();
    AdvanceFrameTiming();
    if (LeaveScreenByKey()) return;
  } while (top < 1.0f);
}

// One frame with the table, then a wait of 20 s counted from that frame.
void ShowHighScoreTable() {
  GameTimeMs deadline = DeadlineIn(kTableShownMs);
  BeginScreenDrawing();
  BlitImage(G.HighscoreImage, kPictureX, 1);
  EndScreenDrawing();
  for (int row = 1; row <= 10; ++row) {
    const HighScoreEntry& entry = G.HighScoreTable[row];
    int y = 200 + 20 * row;
    DrawBitmapText(G.SmallFont, LeftPad(std::to_string(row), 2) + "  " + entry.name, 10, y);
    DrawBitmapText(G.SmallFont, LeftPad(std::to_string(entry.score), 6), 210, y);
    DrawBitmapText(G.SmallFont, entry.date, 360, y);
    DrawBitmapText(G.SmallFont, LeftPad(std::to_string(entry.level), 3), 540, y);
  }
  FlipFrame();
  for (;;) {
    if (LeaveScreenByKey()) return;
    if (ClockIsPast(deadline)) {
      G.CurrentState = StateHowTo;
      return;
    }
  }
}

void RunHighScores() {
  LoadHighScores();
  SlideHighscorePicture();
  if (G.CurrentState == StateHighScores) ShowHighScoreTable();
}
