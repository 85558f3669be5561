#include "flow/main_loop.h"

#include <string>

#include "flow/confirm_exit.h"
#include "flow/get_ready.h"
#include "flow/globals.h"
#include "flow/high_score_screen.h"
#include "flow/startup.h"
#include "flow/title_screens.h"
#include "play/play.h"
#include "platform/trace.h"
#include "scores/game_over.h"

void RunCurrentState() {
  ScreenState before = G.CurrentState;
  switch (G.CurrentState) {
    case StateTitle: RunTitle(); break;
    case StateAttract: RunAttract(); break;
    case StateHighScores: RunHighScores(); break;
    case StateHowTo: RunHowTo(); break;
    case StateGetReady: RunGetReady(); break;
    case StatePlaying: RunPlayFrame(); break;
    case StateGameOver: RunGameOver(); break;
    case StateConfirmExit: RunConfirmExit(); break;
    default: break;
  }
  if (G.CurrentState != before) {
    TraceEvent("state " + std::to_string(before) + " " + std::to_string(G.CurrentState));
  }
}

void GameMain() {
  StartUp();
  TraceEvent("state 0 " + std::to_string(G.CurrentState));
  for (;;) RunCurrentState();
}
