// The game's executable: the real game over SDL2.
#define SDL_MAIN_HANDLED
#include "flow/startup.h"
#include "platform/process.h"
#include "platform/sdl/sdl_backend.h"

int main() {
  SDL_SetMainReady();
  // SDL would turn SIGINT and SIGTERM into a quit event, which the game
  // ignores as it ignores a window's close button; our own handlers end the
  // game properly instead.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  platform::InstallStopSignals();
  static platform::SdlBackend backend;
  platform::SetBackend(&backend);
  GameMain();
}
