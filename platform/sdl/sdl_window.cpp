#include "platform/sdl/sdl_window.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/sdl/sdl_x11_wm.h"

namespace platform {

bool SdlWindow::StartVideo() {
  if (videoStarted_) return true;
  // Our own scaler onto the window surface is several times faster than
  // SDL's default path, which hides an OpenGL upload per frame (see
  // bench/framerate_measure.cpp).
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  // The game's speed is its frame rate: never wait for the display.
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  // On a page SDL would hand the browser its turn at every picture, and a
  // turn costs a paint: the pace's waits and the event pump hand it over
  // instead, as often as the game can spare.
  SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");
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

SDL_Rect SdlWindow::WindowedBounds() const {
  SDL_Rect usable{0, 0, width_, height_};
  int display = window_ != nullptr ? std::max(0, SDL_GetWindowDisplayIndex(window_)) : 0;
  if (SDL_GetDisplayUsableBounds(display, &usable) != 0) SDL_GetDisplayBounds(display, &usable);
  const int factor = std::min(usable.w / width_, usable.h / height_);
  // A desktop smaller than the picture gets the largest window of its shape
  // that fits; the picture is shrunk into it.
  const Area fit = FillArea(width_, height_, usable.w, usable.h);
  const int w = factor >= 1 ? width_ * factor : std::max(1, fit.width);
  const int h = factor >= 1 ? height_ * factor : std::max(1, fit.height);
  return SDL_Rect{usable.x + std::max(0, (usable.w - w) / 2), usable.y + std::max(0, (usable.h - h) / 2), w, h};
}

bool SdlWindow::Open(const std::string& title, int width, int height) {
  if (!videoStarted_ || window_ != nullptr) return false;
  width_ = width;
  height_ = height;
  if (settings_.window) {
    const SDL_Rect b = WindowedBounds();
    window_ = SDL_CreateWindow(title.c_str(), b.x, b.y, b.w, b.h, SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  } else {
    // The window's own (non-fullscreen) size is the whole desktop, at its
    // origin: a window manager makes it fullscreen anyway, and without one
    // (a kiosk session, a bare X server) it still covers the screen instead
    // of showing a corner of the picture in a 640x480 window. On a screen
    // smaller than the picture the window is the screen too, and the
    // picture is shrunk into it.
    SDL_Rect desk{SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height};
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(0, &bounds) == 0 && bounds.w > 0 && bounds.h > 0) desk = bounds;
    // Made hidden, so that where no window manager runs the fullscreen
    // request (and SDL's wait for its answer) can be dropped before showing.
    window_ = SDL_CreateWindow(title.c_str(), desk.x, desk.y, desk.w, desk.h,
                               SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN);
  }
  if (window_ == nullptr) return false;
  unmanaged_ = X11WithoutWindowManager(window_);
  if (!settings_.window) {
    coversScreen_ = unmanaged_;
    if (coversScreen_) SDL_SetWindowFullscreen(window_, 0);
    SDL_ShowWindow(window_);
  }
  SetIcon();
  SDL_ShowCursor(SDL_DISABLE);
  SDL_RaiseWindow(window_);
  active_ = true;
  present_.Open(window_, width_, height_);
  return true;
}

void SdlWindow::Close() {
  if (window_ == nullptr) return;
  present_.Close();
  SDL_DestroyWindow(window_);
  window_ = nullptr;
  active_ = false;
  coversScreen_ = false;
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
      present_.SurfaceChanged();
      return false;
    case SDL_WINDOWEVENT_FOCUS_LOST:
    case SDL_WINDOWEVENT_MINIMIZED:
      active_ = false;
      return true;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_MOVED:
      present_.SurfaceChanged();
      return false;
    case SDL_WINDOWEVENT_EXPOSED:
      present_.Exposed();
      return false;
    default:
      return false;
  }
}

bool SdlWindow::Fullscreen() const {
  return window_ != nullptr && (coversScreen_ || (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0);
}

void SdlWindow::ToggleFullscreen() {
  if (window_ == nullptr) return;
  if (Fullscreen()) {
    if (!coversScreen_) SDL_SetWindowFullscreen(window_, 0);
    coversScreen_ = false;
    SDL_SetWindowResizable(window_, SDL_TRUE);
    const SDL_Rect b = WindowedBounds();
    SDL_SetWindowSize(window_, b.w, b.h);
    SDL_SetWindowPosition(window_, b.x, b.y);
  } else {
    // The window first covers its display by itself, so that without a
    // window manager to make it fullscreen it still does.
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &bounds) == 0) {
      SDL_SetWindowPosition(window_, bounds.x, bounds.y);
      SDL_SetWindowSize(window_, bounds.w, bounds.h);
    }
    coversScreen_ = unmanaged_;
    if (!coversScreen_) SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  present_.SurfaceChanged();
}

SdlInput::PictureGeometry SdlWindow::CurrentGeometry() const {
  SdlInput::PictureGeometry g;
  if (window_ == nullptr) return g;
  g.sourceW = width_;
  g.sourceH = height_;
  SDL_GetWindowSize(window_, &g.pointW, &g.pointH);
#if SDL_VERSION_ATLEAST(2, 26, 0)
  SDL_GetWindowSizeInPixels(window_, &g.pixelW, &g.pixelH);
#endif
  if (g.pixelW <= 0 || g.pixelH <= 0) {
    g.pixelW = g.pointW;
    g.pixelH = g.pointH;
  }
  const Area a = PictureArea(settings_.scale, width_, height_, g.pixelW, g.pixelH);
  g.left = a.left;
  g.top = a.top;
  g.width = a.width;
  g.height = a.height;
  return g;
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
