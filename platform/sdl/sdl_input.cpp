// Keyboard and mouse over SDL (to be completed: full scan-code table,
// layout translation, relative mouse).
#include <algorithm>

#include "platform/sdl/sdl_backend.h"

namespace platform {

namespace {
int KeyCodeFor(SDL_Scancode sc) {
  switch (sc) {
    case SDL_SCANCODE_ESCAPE: return 1;
    case SDL_SCANCODE_RETURN: return 28;
    case SDL_SCANCODE_SPACE: return 57;
    case SDL_SCANCODE_UP: return 200;
    case SDL_SCANCODE_LEFT: return 203;
    case SDL_SCANCODE_RIGHT: return 205;
    case SDL_SCANCODE_DOWN: return 208;
    default: return 0;
  }
}
}  // namespace

bool SdlBackend::StartKeyboard() {
  keyboardStarted_ = true;
  return true;
}

void SdlBackend::StopKeyboard() { keyboardStarted_ = false; }

bool SdlBackend::ReadKeyboard(uint8_t snapshot[256]) {
  uint64_t now = static_cast<uint64_t>(NowMicros());
  if (now - lastPumpMicros_ >= 1000) HandleEvents();
  if (window_ == nullptr || !active_) return false;
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  std::fill(snapshot, snapshot + 256, 0);
  for (int sc = 0; sc < count; ++sc) {
    if (!state[sc]) continue;
    int code = KeyCodeFor(static_cast<SDL_Scancode>(sc));
    if (code > 0) snapshot[code] = 0x80;
  }
  return true;
}

char SdlBackend::TranslateKey(int) { return 0; }

bool SdlBackend::StartMouse() {
  mouseStarted_ = true;
  return true;
}

void SdlBackend::StopMouse() { mouseStarted_ = false; }

bool SdlBackend::ReadMouse(MouseReading& out) {
  HandleEvents();
  if (window_ == nullptr || !active_) return false;
  if (!mouseCaptured_) {
    SDL_SetRelativeMouseMode(SDL_TRUE);
    mouseCaptured_ = true;
  }
  out.dx = mouseDx_;
  out.dy = mouseDy_;
  out.wheel = mouseWheel_;
  for (int b = 0; b < 3; ++b) out.buttons[b] = mouseButtons_[b];
  mouseDx_ = mouseDy_ = mouseWheel_ = 0;
  return true;
}

void SdlBackend::ReleaseMouse() {
  if (mouseCaptured_) SDL_SetRelativeMouseMode(SDL_FALSE);
  mouseCaptured_ = false;
  mouseDx_ = mouseDy_ = 0;
}

}  // namespace platform
