// Gamepads through SDL's game-controller API. A pad presses the keyboard's
// own keys, so play, its repeat delays and its latches treat it as the
// keyboard: d-pad and left stick are the arrows, A and Start are Space, B
// is Up, Back is Escape. Pads come and go at any time; one pulled out lets
// go of every key it held. Where the game reads the mouse (the exit dialog),
// stick and d-pad move its pointer at a steady speed and A is the left
// button.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "platform/backend.h"

namespace platform {

class SdlPads {
 public:
  ~SdlPads() { Stop(); }
  // Starts SDL's game-controller subsystem; pads already plugged in arrive
  // as events. False when there is none (the keyboard still works).
  bool Start();
  void Stop();

  // Pad arrivals and departures, buttons and axes; other events are ignored.
  void HandleEvent(const SDL_Event& event);

  // Marks the keys the pads hold down (0x80) in a keyboard snapshot.
  void AddHeldKeys(uint8_t snapshot[256]) const;
  // Adds the pointer motion for the time since the previous read, and A as
  // the left button.
  void AddToMouse(MouseReading& out, int64_t nowMicros);
  // The pointer starts afresh: no motion is owed for the time before.
  void RestartPointer() { lastPointerMicros_ = -1; }

  size_t Count() const { return pads_.size(); }

 private:
  struct Pad {
    SDL_JoystickID id = -1;
    SDL_GameController* controller = nullptr;
    bool buttons[SDL_CONTROLLER_BUTTON_MAX] = {};
    int16_t axes[SDL_CONTROLLER_AXIS_MAX] = {};
  };
  struct Directions {
    bool left = false, right = false, up = false, down = false;
  };
  static Directions DirectionsOf(const Pad& pad);
  Pad* Find(SDL_JoystickID id);

  bool started_ = false;
  std::vector<Pad> pads_;
  int64_t lastPointerMicros_ = -1;
  int64_t owedX_ = 0;  // pointer motion not yet handed out, in millionths
  int64_t owedY_ = 0;  // of a game pixel
};

}  // namespace platform
