// The one place SDL's event queue is drained: each event goes to the unit
// that owns it (window state to the window, keys and mouse to the input,
// pads to the pads). Alt+Enter is the platform's own key: it switches
// between window and fullscreen and the game never sees it.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <utility>

namespace platform {

class SdlInput;
class SdlPads;
class SdlSystem;
class SdlWindow;

class SdlEvents {
 public:
  SdlEvents(const SdlSystem& system, SdlWindow& window, SdlInput& input, SdlPads& pads)
      : system_(system), window_(window), input_(input), pads_(pads) {}

  // Drains the whole queue; every frame does this once, as it is shown.
  void Pump();
  // Before an input read: nothing when the frame's pump has not been read
  // yet (one pump per frame is enough), and otherwise a pump unless one ran
  // less than 1 ms ago, for screens that read input between frames or take
  // dozens of snapshots a frame.
  void PumpForRead();
  // Told after each Alt+Enter whether the window is now windowed.
  void OnWindowModeChange(std::function<void(bool windowed)> listener) { modeListener_ = std::move(listener); }

 private:
  void Dispatch(const SDL_Event& event);

  const SdlSystem& system_;
  SdlWindow& window_;
  SdlInput& input_;
  SdlPads& pads_;
  uint64_t lastPumpMicros_ = 0;
  bool pumpUnread_ = false;  // a pump has run since the last input read
  std::function<void(bool)> modeListener_;
};

}  // namespace platform
