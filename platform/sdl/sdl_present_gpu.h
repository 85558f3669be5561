// The graphics card's way to the screen: the 640x480 frame is uploaded into
// one streaming texture (1.2 MB a frame whatever the screen's size) and the
// card scales it, without waiting for the display's refresh (the game's
// speed is its frame rate), with sharp nearest-neighbour pixels like the
// processor's path.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "platform/fill_scaler.h"
#include "platform/sdl/sdl_settings.h"

namespace platform {

class SdlGpuPresenter {
 public:
  explicit SdlGpuPresenter(ScaleChoice scale) : scale_(scale) {}
  ~SdlGpuPresenter() { Stop(); }

  // True when SDL has a renderer driven by a graphics card, not one drawn by
  // the processor (SDL's software renderer, or OpenGL on llvmpipe,
  // softpipe or a similar rasteriser). Tried on a hidden window of its own.
  static bool HardwareAvailable(std::string& name);

  bool Start(SDL_Window* window, int width, int height);
  void Stop();
  bool Started() const { return renderer_ != nullptr; }

  bool Present(const uint32_t* pixels, int width, int height);

 private:
  ScaleChoice scale_;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* frame_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  Area area_;
};

}  // namespace platform
