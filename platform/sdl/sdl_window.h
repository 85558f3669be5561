// The game's window: fullscreen on the desktop (or, when asked, a resizable
// window; Alt+Enter switches between the two), showing the 640x480 back
// buffer through the processor's path or the graphics card's, chosen as the
// settings say.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "platform/fill_scaler.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_present_cpu.h"
#include "platform/sdl/sdl_present_gpu.h"
#include "platform/sdl/sdl_settings.h"

namespace platform {

class SdlWindow {
 public:
  explicit SdlWindow(const SdlSettings& settings)
      : settings_(settings), cpu_(settings.scale, settings.cpuTarget), gpu_(settings.scale) {}

  // Starts SDL's video and event subsystems; refuses a driver that shows
  // nothing unless SDL_VIDEODRIVER asked for it.
  bool StartVideo();
  bool Open(const std::string& title, int width, int height);
  void Close();
  void StopVideo();

  bool VideoStarted() const { return videoStarted_; }
  bool IsOpen() const { return window_ != nullptr; }
  bool Active() const { return window_ != nullptr && active_; }
  SDL_Window* Handle() const { return window_; }

  // Follows focus, size and exposure. Returns true when the window just
  // lost the player's attention (focus lost or minimised).
  bool HandleWindowEvent(const SDL_WindowEvent& event);
  // Fullscreen to window and back (Alt+Enter).
  void ToggleFullscreen();
  bool Fullscreen() const;

  bool Present(const uint32_t* pixels, int width, int height);
  // SDL's renderer scales a streaming texture (for measurements, and the
  // way out when the window surface fails).
  bool PresentWithRenderer(const uint32_t* pixels, int width, int height);

  // Where the picture lies in the window, for the mouse.
  SdlInput::PictureGeometry CurrentGeometry() const;

 private:
  enum class Path { kCpu, kGpu };
  void ChoosePath();
  void Use(Path path);
  void TrialFrame();
  void Say(const std::string& what) const;
  void Announce(const char* how);
  void SetIcon();
  // The windowed size: the largest whole enlargement that fits the desktop.
  SDL_Rect WindowedBounds() const;

  SdlSettings settings_;
  bool videoStarted_ = false;
  SDL_Window* window_ = nullptr;
  bool active_ = false;
  // No window manager runs (X11 only): fullscreen is the window covering the
  // screen, SDL is not asked for it (see sdl_x11_wm.h).
  bool unmanaged_ = false;
  bool coversScreen_ = false;
  int width_ = 640;
  int height_ = 480;
  SdlCpuPresenter cpu_;
  SdlGpuPresenter gpu_;
  Path path_ = Path::kCpu;
  // Auto mode with a real graphics card: both paths are timed over a few
  // frames at start-up and the faster one kept.
  int trialFrame_ = -1;
  bool announce_ = false;  // the path in use is still to be said (--verbose)
  uint64_t trialStart_ = 0;
  double trialSeconds_[2] = {0.0, 0.0};
};

}  // namespace platform
