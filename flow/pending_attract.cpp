// Stand-ins for the attract screens and the exit dialog until they land.
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
void RunConfirmExit() { BlackFrame(); }
void DrawCentredText(const std::string&, int, int, Colour) {}
