#include "scores/game_over.h"

#include <algorithm>

#include "flow/game_clock.h"
#include "flow/globals.h"
#include "flow/leave_by_key.h"
#include "platform/draw.h"
#include "platform/image.h"
#include "platform/input.h"
#include "platform/keycodes.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "scores/bitmap_font.h"
#include "scores/high_scores.h"

namespace {

constexpr size_t kLongestName = 8;  // the table's name column
constexpr int32_t kNameKeyGateMs = 250;
constexpr int32_t kClosingWaitMs = 500;
constexpr int kNameX = 150;
constexpr int kNameY = 230;

void DrawNamePrompt() {
  DrawBitmapText(G.LargeFont, "YOU MAKE IT", 150, 160);
  DrawBitmapText(G.SmallFont, "ENTER YOUR NAME :", 150, 190);
}

// Blank glyph cells over the old name, then the name as it is now.
void RedrawName() {
  DrawBitmapText(G.SmallFont, "           ", kNameX, kNameY);
  DrawBitmapText(G.SmallFont, G.PlayerName, kNameX, kNameY);
}

void UpperCaseName() {
  for (char& c : G.PlayerName) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

// Applies one call's worth of typed characters; true when the name changed
// (which shuts the gate for a moment, so one key press is one edit).
bool ApplyTypedText(const std::string& typed) {
  if (typed == "\b") {
    if (G.PlayerName.empty()) return false;
    G.PlayerName.pop_back();
    RedrawName();
    return true;
  }
  if (typed > std::string(1, '\x1f') && typed < "{" && G.PlayerName.size() < kLongestName) {
    // Several keys can be let go between two calls; take only as many of
    // their characters as the name column holds.
    // A control character let go in the same call ("1" then Backspace)
    // must not end up inside a saved name.
    size_t room = kLongestName - G.PlayerName.size();
    for (char c : typed) {
      if (room == 0) break;
      if (c < 32 || c > 126) continue;
      G.PlayerName.push_back(c);
      --room;
    }
    UpperCaseName();
    RedrawName();
    return true;
  }
  return false;
}

// Half a second to leave as the attract screens are left (Space a new game,
// Escape the exit dialog), then the high-score screen.
void ClosingWait() {
  GameTimeMs deadline = DeadlineIn(kClosingWaitMs);
  for (;;) {
    if (LeaveScreenByKey()) {
      // The exit dialog comes back here; this game's result is in already.
      if (G.CurrentState == StateConfirmExit) G.GameOverResultEntered = 1;
      return;
    }
    if (ClockIsPast(deadline)) {
      G.CurrentState = StateHighScores;
      return;
    }
  }
}

void EnterResult(int row) {
  if (row == 0) {
    PlaySoundId(G.MissSound, 0, -1);
    return;
  }
  // The box grows from the centre in one go: only its largest step, 400 by
  // 196 around (320, 240), is ever seen, so that is the one drawn.
  BeginScreenDrawing();
  SetPenColour(MakeColour(255, 255, 255));
  FillBox(120, 142, 400, 196);
  EndScreenDrawing();
  PlaySoundId(G.HighScoreSound, 0, -1);
  DrawNamePrompt();
  G.HighScoreTable[row].name = EnterPlayerName();
  SaveHighScores();
}

}  // namespace

void SlideGameOverPicture() {
  float y = -150.0f;
  FlipFrame();
  SpriteId still = GrabScreenSprite(0, 0, platform::kBackBufferWidth, platform::kBackBufferHeight);
  StartFrameTiming();
  do {
    ClearBackBuffer(0);
    DisplaySpriteOpaque(still, 0, 0);
    DisplaySpriteKeyed(G.GameOverSprite, 140, RoundHalfEven(y));
    y += (G.SlideSpeed + 0.05f) * static_cast<float>(G.FrameTimeMs);
    FlipFrame();
    AdvanceFrameTiming();
  } while (y < 200.0f);
  // Every game over grabs a full-screen still; keeping each one would grow
  // the game by a screenful of memory per game played.
  ReleaseSprite(still);
}

std::string EnterPlayerName() {
  if (G.PlayerName.empty()) G.PlayerName = "NOBODY";
  ExamineKeys();
  for (;;) {
    DrawNamePrompt();
    ExamineKeys();
    bool done = IsKeyDown(KeyEnter) != 0;
    if (!done) {
      DrawBitmapText(G.SmallFont, G.PlayerName, kNameX, kNameY);
      // Keys let go while the gate is shut are kept for the next call.
      if (ClockIsPast(G.NameKeyTime) && ApplyTypedText(TakeTypedText())) {
        G.NameKeyTime = DeadlineIn(kNameKeyGateMs);
      }
    }
    FlipFrame();
    ClearBackBuffer(0);
    if (done) return G.PlayerName;
  }
}

void FinishGameOver(int row) {
  EnterResult(row);
  ClosingWait();
}

void RunGameOver() {
  // Back from the exit dialog: this game's result is already in the table
  // (and saved); the picture slides again, then only the closing wait.
  bool alreadyEntered = G.GameOverResultEntered != 0;
  G.GameOverResultEntered = 0;
  SlideGameOverPicture();
  if (alreadyEntered) {
    ClosingWait();
    return;
  }
  EnsureHighScoresLoaded();
  FinishGameOver(InsertHighScore(G.Score, G.Level));
}
