#include "platform/sdl/sdl_events.h"

#include "platform/internal/stop_signal.h"

#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_system.h"
#include "platform/sdl/sdl_window.h"

#include "platform/sdl/sdl_page_turn.h"

namespace platform {

void SdlEvents::Pump() {
  if (!window_.VideoStarted()) return;
#ifdef __EMSCRIPTEN__
  // Unpaced, or behind its slots, the game never waits: the browser still
  // gets a turn every frame of a 60 Hz display.
  HandPageItsTurnAfter(16.0);
#endif
  SDL_PumpEvents();
  input_.KeysMayHaveChanged();
  SDL_Event events[64];
  int n;
  // Drain the whole queue so it never fills, whatever comes in.
  while ((n = SDL_PeepEvents(events, 64, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0) {
    for (int i = 0; i < n; ++i) Dispatch(events[i]);
  }
  lastPumpMicros_ = static_cast<uint64_t>(system_.NowMicros());
  pumpUnread_ = true;
}

void SdlEvents::PumpForRead() {
  if (pumpUnread_) {
    pumpUnread_ = false;
    return;
  }
  uint64_t now = static_cast<uint64_t>(system_.NowMicros());
  if (lastPumpMicros_ == 0 || now - lastPumpMicros_ >= 1000) {
    Pump();
    pumpUnread_ = false;
  }
}

void SdlEvents::Dispatch(const SDL_Event& e) {
  switch (e.type) {
    case SDL_WINDOWEVENT:
      // A window that lost the player's attention hands the pointer back.
      if (window_.HandleWindowEvent(e.window)) input_.ReleaseMouse();
      break;
    case SDL_KEYDOWN:
      if ((e.key.keysym.scancode == SDL_SCANCODE_RETURN || e.key.keysym.scancode == SDL_SCANCODE_KP_ENTER) &&
          (e.key.keysym.mod & KMOD_ALT) != 0) {
        if (e.key.repeat == 0) {
          window_.ToggleFullscreen();
          if (modeListener_) modeListener_(!window_.Fullscreen());
        }
        input_.HideUntilReleased(e.key.keysym.scancode);
        break;
      }
      input_.HandleEvent(e);
      break;
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
      pads_.HandleEvent(e);
      break;
    case SDL_QUIT:
      // The window's close button (or Alt+F4) ends the game as the exit
      // dialog's "Yes" does. A fullscreen game is left through its dialog,
      // so a stray Alt+F4 never ends a game in play.
      if (window_.IsOpen() && !window_.Fullscreen()) RequestEnd(0);
      break;
    default:
      input_.HandleEvent(e);
      break;
  }
}

}  // namespace platform
