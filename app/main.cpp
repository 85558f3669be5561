// The game's executable: the real game over SDL2.
#define SDL_MAIN_HANDLED
#include "flow/startup.h"
#include "platform/sdl/sdl_backend.h"

int main() {
  SDL_SetMainReady();
  static platform::SdlBackend backend;
  platform::SetBackend(&backend);
  GameMain();
}
