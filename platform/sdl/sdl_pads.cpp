#include "platform/sdl/sdl_pads.h"

#include <algorithm>

#include "platform/keycodes.h"

namespace platform {

namespace {

// A stick at rest rarely reads zero; a quarter of its travel counts as
// nothing, so a worn pad does not slide the piece.
constexpr int kDeadZone = 8000;
// The pointer's speed in the exit dialog, in game pixels a second: the
// screen's width in two seconds, steady whatever the frame rate.
constexpr int64_t kPointerSpeed = 320;
// A pause longer than this (a slow frame, a window being dragged) moves the
// pointer no further than this much time would.
constexpr int64_t kLongestStepMicros = 50000;

}  // namespace

bool SdlPads::Start() {
  if (started_) return true;
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
  started_ = true;
  return true;
}

void SdlPads::Stop() {
  if (!started_) return;
  for (Pad& pad : pads_) SDL_GameControllerClose(pad.controller);
  pads_.clear();
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  started_ = false;
}

SdlPads::Pad* SdlPads::Find(SDL_JoystickID id) {
  for (Pad& pad : pads_)
    if (pad.id == id) return &pad;
  return nullptr;
}

void SdlPads::HandleEvent(const SDL_Event& e) {
  if (!started_) return;
  switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED: {
      // "which" is the device index here, an instance id in every other
      // pad event.
      SDL_GameController* controller = SDL_GameControllerOpen(e.cdevice.which);
      if (controller == nullptr) break;
      SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
      if (Find(id) != nullptr) {
        SDL_GameControllerClose(controller);  // announced twice
        break;
      }
      Pad pad;
      pad.id = id;
      pad.controller = controller;
      pads_.push_back(pad);
      break;
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
      auto it = std::find_if(pads_.begin(), pads_.end(), [&](const Pad& p) { return p.id == e.cdevice.which; });
      if (it == pads_.end()) break;
      // Whatever it held is let go with it.
      SDL_GameControllerClose(it->controller);
      pads_.erase(it);
      break;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (Pad* pad = Find(e.cbutton.which); pad != nullptr && e.cbutton.button < SDL_CONTROLLER_BUTTON_MAX)
        pad->buttons[e.cbutton.button] = e.type == SDL_CONTROLLERBUTTONDOWN;
      break;
    case SDL_CONTROLLERAXISMOTION:
      if (Pad* pad = Find(e.caxis.which); pad != nullptr && e.caxis.axis < SDL_CONTROLLER_AXIS_MAX)
        pad->axes[e.caxis.axis] = e.caxis.value;
      break;
    default:
      break;
  }
}

SdlPads::Directions SdlPads::DirectionsOf(const Pad& pad) {
  Directions d;
  const int x = pad.axes[SDL_CONTROLLER_AXIS_LEFTX];
  const int y = pad.axes[SDL_CONTROLLER_AXIS_LEFTY];
  d.left = pad.buttons[SDL_CONTROLLER_BUTTON_DPAD_LEFT] || x < -kDeadZone;
  d.right = pad.buttons[SDL_CONTROLLER_BUTTON_DPAD_RIGHT] || x > kDeadZone;
  d.up = pad.buttons[SDL_CONTROLLER_BUTTON_DPAD_UP] || y < -kDeadZone;
  d.down = pad.buttons[SDL_CONTROLLER_BUTTON_DPAD_DOWN] || y > kDeadZone;
  return d;
}

void SdlPads::AddHeldKeys(uint8_t snapshot[256]) const {
  for (const Pad& pad : pads_) {
    const Directions d = DirectionsOf(pad);
    if (d.left) snapshot[KeyLeft] = 0x80;
    if (d.right) snapshot[KeyRight] = 0x80;
    if (d.up || pad.buttons[SDL_CONTROLLER_BUTTON_B]) snapshot[KeyUp] = 0x80;
    if (d.down) snapshot[KeyDown] = 0x80;
    if (pad.buttons[SDL_CONTROLLER_BUTTON_A] || pad.buttons[SDL_CONTROLLER_BUTTON_START]) snapshot[KeySpace] = 0x80;
    if (pad.buttons[SDL_CONTROLLER_BUTTON_BACK]) snapshot[KeyEscape] = 0x80;
  }
}

void SdlPads::AddToMouse(MouseReading& out, int64_t nowMicros) {
  int dirX = 0;
  int dirY = 0;
  bool a = false;
  for (const Pad& pad : pads_) {
    const Directions d = DirectionsOf(pad);
    dirX += (d.right ? 1 : 0) - (d.left ? 1 : 0);
    dirY += (d.down ? 1 : 0) - (d.up ? 1 : 0);
    a = a || pad.buttons[SDL_CONTROLLER_BUTTON_A];
  }
  dirX = std::clamp(dirX, -1, 1);
  dirY = std::clamp(dirY, -1, 1);
  if (a) out.buttons[0] = 1;
  const int64_t step = lastPointerMicros_ < 0 ? 0 : std::clamp<int64_t>(nowMicros - lastPointerMicros_, 0, kLongestStepMicros);
  lastPointerMicros_ = nowMicros;
  if (dirX == 0) owedX_ = 0;
  if (dirY == 0) owedY_ = 0;
  owedX_ += dirX * step * kPointerSpeed;
  owedY_ += dirY * step * kPointerSpeed;
  const int64_t dx = owedX_ / 1000000;
  const int64_t dy = owedY_ / 1000000;
  owedX_ -= dx * 1000000;
  owedY_ -= dy * 1000000;
  out.dx += static_cast<int>(dx);
  out.dy += static_cast<int>(dy);
}

}  // namespace platform
