#include "platform/sdl/sdl_window.h"

#include <cstring>

#include "platform/scaler.h"

namespace platform {

bool SdlWindow::StartVideo() {
  if (videoStarted_) return true;
  // Our own whole-factor scaler onto the window surface is several times
  // faster than SDL's default path, which hides an OpenGL upload per frame
  // (see bench/framerate_measure.cpp).
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return false;
  // Without a display SDL quietly picks a driver that shows nothing; a game
  // nobody can see must not start unless that was asked for.
  const char* requested = SDL_getenv("SDL_VIDEODRIVER");
  const char* driver = SDL_GetCurrentVideoDriver();
  if ((requested == nullptr || *requested == '\0') && driver != nullptr &&
      (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    return false;
  }
  videoStarted_ = true;
  return true;
}

bool SdlWindow::Open(const std::string& title, int width, int height) {
  if (!videoStarted_ || window_ != nullptr) return false;
  // The window's own (non-fullscreen) size is the whole desktop, at its
  // origin: a window manager makes it fullscreen anyway, and without one
  // (a kiosk session, a bare X server) it still covers the screen instead of
  // showing a corner of the picture in a 640x480 window.
  SDL_Rect desk{SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height};
  SDL_Rect bounds;
  if (SDL_GetDisplayBounds(0, &bounds) == 0 && bounds.w >= width && bounds.h >= height) desk = bounds;
  window_ = SDL_CreateWindow(title.c_str(), desk.x, desk.y, desk.w, desk.h,
                             SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window_ == nullptr) return false;
  SetIcon();
  SDL_ShowCursor(SDL_DISABLE);
  SDL_RaiseWindow(window_);
  active_ = true;
  surfaceStale_ = true;
  surface_ = nullptr;
  useRenderer_ = false;
  return true;
}

void SdlWindow::Close() {
  if (window_ == nullptr) return;
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  texture_ = nullptr;
  renderer_ = nullptr;
  surface_ = nullptr;
  SDL_DestroyWindow(window_);
  window_ = nullptr;
  active_ = false;
  SDL_ShowCursor(SDL_ENABLE);
}

void SdlWindow::StopVideo() {
  if (!videoStarted_) return;
  Close();
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  videoStarted_ = false;
}

bool SdlWindow::HandleWindowEvent(const SDL_WindowEvent& e) {
  switch (e.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SHOWN:
      if (e.event == SDL_WINDOWEVENT_FOCUS_GAINED) active_ = true;
      surfaceStale_ = true;
      return false;
    case SDL_WINDOWEVENT_FOCUS_LOST:
    case SDL_WINDOWEVENT_MINIMIZED:
      active_ = false;
      return true;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESIZED:
      surfaceStale_ = true;
      return false;
    case SDL_WINDOWEVENT_EXPOSED:
      surfaceNeedsFullUpdate_ = true;
      return false;
    default:
      return false;
  }
}

bool SdlWindow::Present(const uint32_t* pixels, int width, int height) {
  if (window_ == nullptr) return false;
  if (!useRenderer_) {
    // A surface invalidated by a resize that arrived after the last pump
    // fails once; fetch it again before giving up on the surface path.
    if (PresentToSurface(pixels, width, height)) return true;
    surfaceStale_ = true;
    if (PresentToSurface(pixels, width, height)) return true;
    useRenderer_ = true;
  }
  return PresentWithRenderer(pixels, width, height);
}

bool SdlWindow::PresentToSurface(const uint32_t* pixels, int width, int height) {
  if (surfaceStale_ || surface_ == nullptr) {
    surface_ = SDL_GetWindowSurface(window_);
    surfaceStale_ = false;
    surfaceNeedsFullUpdate_ = true;
    if (surface_ == nullptr) return false;
  }
  // The surface's size is in pixels, which on a high-density screen is more
  // than the window's size in points: the factor is taken from it.
  SDL_PixelFormatEnum format = static_cast<SDL_PixelFormatEnum>(surface_->format->format);
  if (format != SDL_PIXELFORMAT_RGB888 && format != SDL_PIXELFORMAT_ARGB8888) return false;
  const Placement place = PlaceInside(width, height, surface_->w, surface_->h);
  if (SDL_MUSTLOCK(surface_) && SDL_LockSurface(surface_) != 0) return false;
  auto* bytes = static_cast<uint8_t*>(surface_->pixels);
  if (surfaceNeedsFullUpdate_) {
    for (int y = 0; y < surface_->h; ++y) {
      std::memset(bytes + static_cast<size_t>(y) * surface_->pitch, 0, static_cast<size_t>(surface_->w) * 4);
    }
  }
  ScaleInto(pixels, width, place, bytes, surface_->pitch);
  if (SDL_MUSTLOCK(surface_)) SDL_UnlockSurface(surface_);
  int result;
  if (surfaceNeedsFullUpdate_) {
    result = SDL_UpdateWindowSurface(window_);
  } else {
    // The letterbox is already on screen: only the picture is sent.
    SDL_Rect area{place.left, place.top, place.cols * place.factor, place.rows * place.factor};
    result = SDL_UpdateWindowSurfaceRects(window_, &area, 1);
  }
  if (result != 0) {
    surfaceStale_ = true;
    return false;
  }
  surfaceNeedsFullUpdate_ = false;
  return true;
}

bool SdlWindow::PresentWithRenderer(const uint32_t* pixels, int width, int height) {
  if (window_ == nullptr) return false;
  if (renderer_ == nullptr) {
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (renderer_ == nullptr) return false;
    SDL_RenderSetLogicalSize(renderer_, width, height);
    SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (texture_ == nullptr) return false;
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
  }
  SDL_UpdateTexture(texture_, nullptr, pixels, width * 4);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
  return true;
}

void SdlWindow::SetIcon() {
  // The icon is one of our generated pictures; without it the window simply
  // keeps the desktop's default.
  SDL_Surface* icon = SDL_LoadBMP("graphics/Icon.bmp");
  if (icon == nullptr) return;
  SDL_SetWindowIcon(window_, icon);
  SDL_FreeSurface(icon);
}

}  // namespace platform
