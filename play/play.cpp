#include "play/play.h"

#include "flow/game_clock.h"
#include "play/matching.h"
#include "play/piece_control.h"
#include "play/play_screen.h"

void RunPlayFrame() {
  // The order matters: the explosion is drawn over the previous frame's
  // picture before it is presented, and the scan reads PieceRow as the last
  // frame left it.
  ScanForRuns();
  AnimateExplosion();
  FallStep();
  CheckLanding();
  HandlePlayKeys();
  AdvanceFrameTiming();
  FlipAndClear();
  DrawPlayScreen();
}
