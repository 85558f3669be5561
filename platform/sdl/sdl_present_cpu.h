// The processor's way to the screen: our own nearest-neighbour scaler
// writes the picture straight into memory the display reads. On an X
// server that is an image of the picture's own size (see sdl_x11_picture.h);
// elsewhere the window surface (a DIB section...), of which only the
// picture's rectangle is handed to the display each frame. Either way the
// black bars are cleared and sent once, when the window is new, resized or
// uncovered.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>

#include "platform/fill_scaler.h"
#include "platform/sdl/sdl_settings.h"
#include "platform/sdl/sdl_x11_picture.h"

namespace platform {

class SdlCpuPresenter {
 public:
  explicit SdlCpuPresenter(ScaleChoice scale) : scale_(scale) {}

  // The window's surface must be fetched again (resized, shown again).
  void SurfaceChanged() { stale_ = true; }
  // Part of the window was uncovered: send the bars again.
  void Exposed() { needsFullUpdate_ = true; }
  // Forget the surface (the window is going, or the renderer takes over).
  void Drop() {
    surface_ = nullptr;
    stale_ = true;
    picture_.reset();
    pictureTried_ = false;
  }

  bool Present(SDL_Window* window, const uint32_t* pixels, int width, int height);
  // Whether frames go through an image of the picture's own size.
  bool DrawsPictureImage() const { return picture_ != nullptr; }

 private:
  bool Attempt(SDL_Window* window, const uint32_t* pixels, int width, int height);
  bool PresentPicture(SDL_Window* window, const uint32_t* pixels, int width, int height);

  ScaleChoice scale_;
  SDL_Surface* surface_ = nullptr;
  bool stale_ = true;
  bool needsFullUpdate_ = true;
  Area area_;
  FillScaler scaler_;
  std::unique_ptr<X11Picture> picture_;
  bool pictureTried_ = false;
};

}  // namespace platform
