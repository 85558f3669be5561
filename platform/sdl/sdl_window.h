// The game's window: fullscreen on the desktop (or, when asked, a resizable
// window; Alt+Enter switches between the two). What it shows and when is
// presentation's business (sdl_present.h), which it tells of every change
// of size, place and exposure.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_present.h"
#include "platform/sdl/sdl_settings.h"

namespace platform {

class SdlWindow {
 public:
  SdlWindow(const SdlSettings& settings, SdlPresent& present) : settings_(settings), present_(present) {}

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

  // Where the picture lies in the window, for the mouse.
  SdlInput::PictureGeometry CurrentGeometry() const;

 private:
  void SetIcon();
  // The windowed size: the largest whole enlargement that fits the desktop.
  SDL_Rect WindowedBounds() const;

  SdlSettings settings_;
  SdlPresent& present_;
  bool videoStarted_ = false;
  SDL_Window* window_ = nullptr;
  bool active_ = false;
  // No window manager runs (X11 only): fullscreen is the window covering the
  // screen, SDL is not asked for it (see sdl_x11_wm.h).
  bool unmanaged_ = false;
  bool coversScreen_ = false;
  int width_ = 640;
  int height_ = 480;
};

}  // namespace platform
