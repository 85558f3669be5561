#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sdl/sdl_backend.h"

namespace platform {

SdlBackend::SdlBackend() {
  counterOrigin_ = SDL_GetPerformanceCounter();
  counterFrequency_ = SDL_GetPerformanceFrequency();
  if (counterFrequency_ == 0) counterFrequency_ = 1;
}

SdlBackend::~SdlBackend() = default;

int64_t SdlBackend::NowMicros() {
  uint64_t ticks = SDL_GetPerformanceCounter() - counterOrigin_;
  uint64_t whole = ticks / counterFrequency_;
  uint64_t part = ticks % counterFrequency_;
  return static_cast<int64_t>(whole * 1000000u + part * 1000000u / counterFrequency_);
}

uint32_t SdlBackend::AutoSeed() {
  auto now = std::chrono::system_clock::now().time_since_epoch().count();
  uint64_t mixed = static_cast<uint64_t>(now) ^ SDL_GetPerformanceCounter() ^
                   (reinterpret_cast<uintptr_t>(this) << 7);
  return static_cast<uint32_t>(mixed ^ (mixed >> 32));
}

bool SdlBackend::StartVideo() {
  if (videoStarted_) return true;
  // Our own whole-factor scaler onto the window surface is several times
  // faster than SDL's default path, which hides an OpenGL upload per frame.
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

bool SdlBackend::OpenWindow(const std::string& title, int width, int height) {
  if (!videoStarted_ || window_ != nullptr) return false;
  window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                             SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window_ == nullptr) return false;
  SetWindowIcon();
  SDL_ShowCursor(SDL_DISABLE);
  SDL_RaiseWindow(window_);
  active_ = true;
  surfaceStale_ = true;
  useRenderer_ = false;
  return true;
}

void SdlBackend::CloseWindow() {
  if (window_ == nullptr) return;
  ReleaseMouse();
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

void SdlBackend::StopVideo() {
  if (!videoStarted_) return;
  CloseWindow();
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  videoStarted_ = false;
}

void SdlBackend::PumpEvents() {
  HandleEvents();
}

void SdlBackend::HandleEvents() {
  if (!videoStarted_) return;
  SDL_PumpEvents();
  SDL_Event events[64];
  int n;
  // Drain the whole queue so it never fills, whatever comes in.
  while ((n = SDL_PeepEvents(events, 64, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0) {
    for (int i = 0; i < n; ++i) HandleEvent(events[i]);
  }
  lastPumpMicros_ = static_cast<uint64_t>(NowMicros());
}

void SdlBackend::HandleEvent(const SDL_Event& e) {
  switch (e.type) {
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
          if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) active_ = true;
          surfaceStale_ = true;
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          active_ = false;
          ReleaseMouse();
          break;
        case SDL_WINDOWEVENT_MINIMIZED:
          active_ = false;
          ReleaseMouse();
          break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESIZED:
        case SDL_WINDOWEVENT_EXPOSED:
          surfaceStale_ = true;
          break;
        default:
          break;
      }
      break;
    case SDL_MOUSEMOTION:
      if (mouseCaptured_) {
        mouseDx_ += e.motion.xrel;
        mouseDy_ += e.motion.yrel;
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      int down = e.type == SDL_MOUSEBUTTONDOWN ? 1 : 0;
      if (e.button.button == SDL_BUTTON_LEFT) mouseButtons_[0] = down;
      if (e.button.button == SDL_BUTTON_RIGHT) mouseButtons_[1] = down;
      if (e.button.button == SDL_BUTTON_MIDDLE) mouseButtons_[2] = down;
      break;
    }
    case SDL_MOUSEWHEEL:
      mouseWheel_ += e.wheel.y;
      break;
    default:
      // SDL_QUIT (window manager close, Alt+F4) does not end the game.
      break;
  }
}

namespace {

// Copies src (w x h) into dst scaled by a whole factor, centred, with black
// all around.
void ScaleInto(const uint32_t* src, int w, int h, uint8_t* dstBytes, int dstPitch, int dstW, int dstH) {
  int factor = std::min(dstW / w, dstH / h);
  if (factor < 1) factor = 1;
  int outW = std::min(w * factor, dstW);
  int outH = std::min(h * factor, dstH);
  int left = (dstW - outW) / 2;
  int top = (dstH - outH) / 2;
  for (int y = 0; y < dstH; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(dstBytes + static_cast<size_t>(y) * dstPitch);
    if (y < top || y >= top + outH) {
      std::memset(row, 0, static_cast<size_t>(dstW) * 4);
      continue;
    }
    if (left > 0) std::memset(row, 0, static_cast<size_t>(left) * 4);
    if (left + outW < dstW) std::memset(row + left + outW, 0, static_cast<size_t>(dstW - left - outW) * 4);
    int sy = (y - top) / factor;
    if ((y - top) % factor != 0) {
      // Repeat the row above, already scaled.
      std::memcpy(row + left, reinterpret_cast<uint32_t*>(dstBytes + static_cast<size_t>(y - 1) * dstPitch) + left,
                  static_cast<size_t>(outW) * 4);
      continue;
    }
    const uint32_t* s = src + static_cast<size_t>(sy) * w;
    uint32_t* d = row + left;
    int cols = outW / factor;
    if (factor == 1) {
      std::memcpy(d, s, static_cast<size_t>(cols) * 4);
    } else if (factor == 2) {
      for (int x = 0; x < cols; ++x) {
        d[0] = d[1] = s[x];
        d += 2;
      }
    } else {
      for (int x = 0; x < cols; ++x) {
        uint32_t p = s[x];
        for (int k = 0; k < factor; ++k) *d++ = p;
      }
    }
  }
}

}  // namespace

bool SdlBackend::Present(const uint32_t* pixels, int width, int height) {
  if (window_ == nullptr) return false;
  if (!useRenderer_ && PresentToSurface(pixels, width, height)) return true;
  useRenderer_ = true;
  return PresentWithRenderer(pixels, width, height);
}

bool SdlBackend::PresentToSurface(const uint32_t* pixels, int width, int height) {
  if (surfaceStale_ || surface_ == nullptr) {
    surface_ = SDL_GetWindowSurface(window_);
    surfaceStale_ = false;
    if (surface_ == nullptr) return false;
  }
  SDL_PixelFormatEnum format = static_cast<SDL_PixelFormatEnum>(surface_->format->format);
  if (format != SDL_PIXELFORMAT_RGB888 && format != SDL_PIXELFORMAT_ARGB8888) return false;
  if (SDL_MUSTLOCK(surface_) && SDL_LockSurface(surface_) != 0) return false;
  ScaleInto(pixels, width, height, static_cast<uint8_t*>(surface_->pixels), surface_->pitch, surface_->w, surface_->h);
  if (SDL_MUSTLOCK(surface_)) SDL_UnlockSurface(surface_);
  if (SDL_UpdateWindowSurface(window_) != 0) {
    surfaceStale_ = true;
    return false;
  }
  return true;
}

bool SdlBackend::PresentWithRenderer(const uint32_t* pixels, int width, int height) {
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

int SdlBackend::ShowMessageBox(const std::string& title, const std::string& text, uint32_t) {
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), window_) != 0) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  }
  return 1;  // OK
}

void SdlBackend::SetWindowIcon() {
  // The icon is one of our generated pictures; without it the window simply
  // keeps the desktop's default.
  SDL_Surface* icon = SDL_LoadBMP("graphics/Icon.bmp");
  if (icon == nullptr) return;
  SDL_SetWindowIcon(window_, icon);
  SDL_FreeSurface(icon);
}

void SdlBackend::EndProcess(int exitCode) {
  SDL_Quit();
  std::exit(exitCode);
}

}  // namespace platform
