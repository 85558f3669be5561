// Screens still to be built show a black frame each pass of the main loop.
#include "flow/confirm_exit.h"
#include "flow/get_ready.h"
#include "flow/globals.h"
#include "flow/high_score_screen.h"
#include "flow/title_screens.h"
#include "play/play.h"
#include "platform/input.h"
#include "scores/bitmap_font.h"
#include "scores/game_over.h"

namespace {
void BlackFrame() {
  ClearBackBuffer(0);
  FlipFrame();
  ExamineKeys();
}
}  // namespace

void RunTitle() { BlackFrame(); }
void RunAttract() { BlackFrame(); }
void RunHowTo() { BlackFrame(); }
void RunGetReady() { BlackFrame(); }
void ClearBoards() {}
void RunConfirmExit() { BlackFrame(); }
void DrawCentredText(const std::string&, int, int, Colour) {}
void RunHighScores() { BlackFrame(); }
std::string LeftPad(const std::string& text, int) { return text; }
void RunPlayFrame() { BlackFrame(); }
void LoadBitmapFonts() {}
void DrawBitmapText(const BitmapFont&, const std::string&, int, int) {}
void RunGameOver() { BlackFrame(); }
