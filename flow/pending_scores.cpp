// Stand-ins for the high-score screens until they land.
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

void RunHighScores() { BlackFrame(); }
std::string LeftPad(const std::string& text, int) { return text; }
void RunGameOver() { BlackFrame(); }
