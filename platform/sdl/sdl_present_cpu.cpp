#include "platform/sdl/sdl_present_cpu.h"

#include <cstring>

#include "platform/scaler.h"

namespace platform {

bool SdlCpuPresenter::Present(SDL_Window* window, const uint32_t* pixels, int width, int height) {
  if (!pictureTried_) {
    pictureTried_ = true;
    picture_ = X11Picture::Open(window);
  }
  if (picture_ != nullptr) {
    if (PresentPicture(window, pixels, width, height)) return true;
    picture_.reset();  // refused by the server: the window surface from now on
  }
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
  area_ = PictureArea(scale_, width, height, surface_->w, surface_->h);
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
  if (needsFullUpdate_) {
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

bool SdlCpuPresenter::PresentPicture(SDL_Window* window, const uint32_t* pixels, int width, int height) {
  int windowW = 0;
  int windowH = 0;
#if SDL_VERSION_ATLEAST(2, 26, 0)
  SDL_GetWindowSizeInPixels(window, &windowW, &windowH);
#else
  SDL_GetWindowSize(window, &windowW, &windowH);
#endif
  // The same areas as on the window surface; the image holds the area
  // alone, so the scalers write it from its corner.
  const bool whole = scale_ == ScaleChoice::kInteger;
  Placement placement = PlaceInside(width, height, windowW, windowH);
  const Area area = PictureArea(scale_, width, height, windowW, windowH);
  // A window with no pixels to show shows nothing, and keeps this path for
  // when it has some again.
  if (windowW <= 0 || windowH <= 0 || area.width <= 0 || area.height <= 0) return true;
  if (!picture_->Fit(area.width, area.height)) return false;
  if (whole) {
    placement.left = 0;
    placement.top = 0;
    ScaleInto(pixels, width, placement, picture_->Pixels(), picture_->Pitch());
  } else {
    scaler_.Prepare(width, height, Area{0, 0, area.width, area.height});
    scaler_.Scale(pixels, picture_->Pixels(), picture_->Pitch());
  }
  const bool clear = needsFullUpdate_ || stale_ || !(area == area_);
  if (!picture_->Put(area, clear, windowW, windowH)) return false;
  area_ = area;
  needsFullUpdate_ = false;
  stale_ = false;
  return true;
}

}  // namespace platform
