#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sdl/sdl_backend.h"
#ifdef _WIN32
#include "platform/sdl/message_box_windows.h"
#endif

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
  // faster than SDL's default path, which hides an OpenGL upload per frame
  // (see bench/framerate_measure.cpp).
  if (presentPath_ == SdlPresentPath::kOwnScaler) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
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
  SetWindowIcon();
  SDL_ShowCursor(SDL_DISABLE);
  SDL_RaiseWindow(window_);
  active_ = true;
  surfaceStale_ = true;
  surface_ = nullptr;
  useRenderer_ = presentPath_ == SdlPresentPath::kSdlRenderer;
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
          surfaceStale_ = true;
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          surfaceNeedsFullUpdate_ = true;
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
      HandleInputEvent(e);
      break;
  }
}

namespace {

// Where the game's picture lands in a destination of dstW x dstH pixels: the
// largest whole factor that fits (at least 1), centred.
struct Placement {
  int factor = 1;
  int left = 0;
  int top = 0;
  int cols = 0;  // source columns and rows shown (all of them unless the
  int rows = 0;  // destination is smaller than the picture)
};

Placement PlaceInside(int w, int h, int dstW, int dstH) {
  Placement p;
  p.factor = std::max(1, std::min(dstW / w, dstH / h));
  p.cols = std::min(w, dstW / p.factor);
  p.rows = std::min(h, dstH / p.factor);
  p.left = (dstW - p.cols * p.factor) / 2;
  p.top = (dstH - p.rows * p.factor) / 2;
  return p;
}

// Nearest-neighbour enlargement by a whole factor into the placed area only;
// the letterbox around it is cleared once per surface, not every frame. Each
// source row is widened once and the copies below it are plain row copies.
void ScaleInto(const uint32_t* src, int w, const Placement& p, uint8_t* dstBytes, int dstPitch) {
  const int k = p.factor;
  const size_t rowBytes = static_cast<size_t>(p.cols) * k * 4;
  uint8_t* line = dstBytes + static_cast<size_t>(p.top) * dstPitch + static_cast<size_t>(p.left) * 4;
  for (int sy = 0; sy < p.rows; ++sy) {
    const uint32_t* s = src + static_cast<size_t>(sy) * w;
    uint32_t* d = reinterpret_cast<uint32_t*>(line);
    if (k == 1) {
      std::memcpy(d, s, rowBytes);
    } else if (k == 2) {
      for (int x = 0; x < p.cols; ++x) {
        d[2 * x] = s[x];
        d[2 * x + 1] = s[x];
      }
    } else {
      for (int x = 0; x < p.cols; ++x) {
        const uint32_t v = s[x];
        uint32_t* o = d + static_cast<size_t>(x) * k;
        for (int r = 0; r < k; ++r) o[r] = v;
      }
    }
    uint8_t* first = line;
    line += dstPitch;
    for (int r = 1; r < k; ++r, line += dstPitch) std::memcpy(line, first, rowBytes);
  }
}

}  // namespace

bool SdlBackend::Present(const uint32_t* pixels, int width, int height) {
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

bool SdlBackend::PresentToSurface(const uint32_t* pixels, int width, int height) {
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

int SdlBackend::ShowMessageBox(const std::string& title, const std::string& text, uint32_t flags) {
#ifdef _WIN32
  return ShowWindowsMessageBox(title, text, flags);
#else
  (void)flags;
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), window_) != 0) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  }
  return 1;  // OK
#endif
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
