// The game's window: fullscreen on the desktop, showing the 640x480 back
// buffer enlarged by our whole-factor scaler on the window surface, or by
// SDL's renderer where no surface can be had.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

namespace platform {

class SdlWindow {
 public:
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

  bool Present(const uint32_t* pixels, int width, int height);
  // SDL's renderer scales a streaming texture: the fallback when the window
  // surface fails.
  bool PresentWithRenderer(const uint32_t* pixels, int width, int height);

 private:
  bool PresentToSurface(const uint32_t* pixels, int width, int height);
  void SetIcon();

  bool videoStarted_ = false;
  SDL_Window* window_ = nullptr;
  bool active_ = false;
  bool surfaceStale_ = true;
  SDL_Surface* surface_ = nullptr;
  bool useRenderer_ = false;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  bool surfaceNeedsFullUpdate_ = true;  // letterbox cleared and pushed once per surface
};

}  // namespace platform
