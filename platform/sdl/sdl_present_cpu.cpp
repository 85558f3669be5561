#include "platform/sdl/sdl_present_cpu.h"

#include <cstring>

#include "platform/scaler.h"

namespace platform {

bool SdlCpuPresenter::Present(SDL_Window* window, const uint32_t* pixels, int width, int height) {
  // A surface invalidated by a resize that arrived after the last pump
  // fails once; it is fetched again before the path is given up.
  if (Attempt(window, pixels, width, height)) return true;
  stale_ = true;
  return Attempt(window, pixels, width, height);
}

bool SdlCpuPresenter::Attempt(SDL_Window* window, const uint32_t* pixels, int width, int height) {
  if (stale_ || surface_ == nullptr) {
    surface_ = SDL_GetWindowSurface(window);
    stale_ = false;
    needsFullUpdate_ = true;
    if (surface_ == nullptr) return false;
  }
  // The surface's size is in pixels, which on a high-density screen is more
  // than the window's size in points: the picture's size is taken from it.
  const auto format = static_cast<SDL_PixelFormatEnum>(surface_->format->format);
  if (format != SDL_PIXELFORMAT_RGB888 && format != SDL_PIXELFORMAT_ARGB8888) return false;
  // Whole factors crop a window smaller than the picture, as they always
  // have; filling shrinks the picture into it.
  const bool whole = scale_ == ScaleChoice::kInteger;
  const Placement placement = PlaceInside(width, height, surface_->w, surface_->h);
  area_ = whole ? AreaOf(placement) : FillArea(width, height, surface_->w, surface_->h);
  if (!whole) scaler_.Prepare(width, height, area_);
  const Area& area = area_;
  if (SDL_MUSTLOCK(surface_) && SDL_LockSurface(surface_) != 0) return false;
  auto* bytes = static_cast<uint8_t*>(surface_->pixels);
  if (needsFullUpdate_) {
    for (int y = 0; y < surface_->h; ++y)
      std::memset(bytes + static_cast<size_t>(y) * surface_->pitch, 0, static_cast<size_t>(surface_->w) * 4);
  }
  if (whole) {
    ScaleInto(pixels, width, placement, bytes, surface_->pitch);
  } else {
    scaler_.Scale(pixels, bytes, surface_->pitch);
  }
  if (SDL_MUSTLOCK(surface_)) SDL_UnlockSurface(surface_);
  int result;
  if (needsFullUpdate_ || wholeSurface_) {
    result = SDL_UpdateWindowSurface(window);
  } else {
    SDL_Rect rect{area.left, area.top, area.width, area.height};
    result = SDL_UpdateWindowSurfaceRects(window, &rect, 1);
  }
  if (result != 0) {
    stale_ = true;
    return false;
  }
  needsFullUpdate_ = false;
  return true;
}

}  // namespace platform
