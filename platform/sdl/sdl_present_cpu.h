// The processor's way to the screen: our own nearest-neighbour scaler
// writes the picture straight into the window surface (an X shared-memory
// image, a DIB section...), and only the picture's rectangle is handed to
// the display each frame; the black bars are cleared and sent once, when
// the surface is new or was uncovered.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/fill_scaler.h"
#include "platform/sdl/sdl_settings.h"

namespace platform {

class SdlCpuPresenter {
 public:
  SdlCpuPresenter(ScaleChoice scale, bool wholeSurface) : scale_(scale), wholeSurface_(wholeSurface) {}

  // The window's surface must be fetched again (resized, shown again).
  void SurfaceChanged() { stale_ = true; }
  // Part of the window was uncovered: send the bars again.
  void Exposed() { needsFullUpdate_ = true; }
  // Forget the surface (the window is going, or the renderer takes over).
  void Drop() { surface_ = nullptr; stale_ = true; }

  bool Present(SDL_Window* window, const uint32_t* pixels, int width, int height);
  // Where the last frame went, in the surface's pixels.
  const Area& PictureArea() const { return area_; }

 private:
  bool Attempt(SDL_Window* window, const uint32_t* pixels, int width, int height);

  ScaleChoice scale_;
  bool wholeSurface_;
  SDL_Surface* surface_ = nullptr;
  bool stale_ = true;
  bool needsFullUpdate_ = true;
  Area area_;
  FillScaler scaler_;
};

}  // namespace platform
