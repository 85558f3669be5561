#include "platform/sdl/sdl_present.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "platform/internal/back_buffer.h"
#include "platform/scaler.h"
#include "platform/sdl/sdl_x11_depth.h"

#include "platform/sdl/sdl_page_turn.h"

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

int64_t SdlPresent::NowMicros() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SdlPresent::Sleep(int64_t micros) const {
  if (micros <= 0) return;
#ifdef __EMSCRIPTEN__
  // A page has no sleep but a busy loop; waiting is handing the browser its
  // turn. Its timers are coarse, so the frames after a wait are behind their
  // slots and run at once: the grid, not each wait, keeps the count.
  HandPageItsTurn(static_cast<unsigned>((micros + 999) / 1000));
#else
  // A real sleep: the processor is free while the game waits for its slot.
  std::this_thread::sleep_for(std::chrono::microseconds(micros));
#endif
}

void SdlPresent::Open(SDL_Window* window, int width, int height) {
  window_ = window;
  width_ = width;
  height_ = height;
  lastPixels_ = nullptr;
  owed_ = false;
  SDL_DisplayMode mode;
  const int display = SDL_GetWindowDisplayIndex(window);
  const int refresh = SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 ? mode.refresh_rate : 0;
  pace_.Set(settings_.fps, refresh);
  if (pace_.Paced() && settings_.verbose) {
    std::fprintf(stderr, "stakko: %d game frames a second, pictures at most %d a second\n", settings_.fps,
                 refresh > 0 ? refresh : 60);
  }

  trialFrame_ = -1;
  std::string gpuName = "none";
  if (settings_.present == PresentChoice::kGpu) {
    Use(Path::kGpu);
  } else if (settings_.present == PresentChoice::kAuto && SdlGpuPresenter::HardwareAvailable(gpuName)) {
    Say("a graphics card renders (" + gpuName + "): timing it against the processor");
    trialFrame_ = 0;
    Use(Path::kGpu);
    if (path_ != Path::kGpu) {
      trialFrame_ = -1;
      Use(Path::kCpu);
    }
  } else {
    Use(Path::kCpu);
  }
}

void SdlPresent::Close() {
  gpu_.Stop();
  cpu_.Drop();
  window_ = nullptr;
  lastPixels_ = nullptr;
  owed_ = false;
}

void SdlPresent::SurfaceChanged() {
  cpu_.SurfaceChanged();
  owed_ = true;
}

void SdlPresent::Exposed() {
  cpu_.Exposed();
  owed_ = true;
}

void SdlPresent::Use(Path path) {
  if (path == Path::kGpu) {
    cpu_.Drop();
    if (!gpu_.Started() && !gpu_.Start(window_, width_, height_)) {
      Say("the graphics card's renderer could not start; the processor presents");
      path = Path::kCpu;
    }
  }
  if (path == Path::kCpu) {
    gpu_.Stop();
    cpu_.SurfaceChanged();
  }
  path_ = path;
  // The processor's path says where it draws once it has drawn.
  announce_ = trialFrame_ < 0;
  if (path == Path::kGpu) Announce("graphics card (one 640x480 texture, scaled by the card)");
}

void SdlPresent::Announce(const char* how) {
  if (!announce_) return;
  announce_ = false;
  Say(std::string("presenting with the ") + how + ", " +
      (settings_.scale == ScaleChoice::kFill ? "filling the screen" : "whole-number enlargement"));
}

void SdlPresent::Say(const std::string& what) const {
  if (settings_.verbose) std::fprintf(stderr, "stakko: %s\n", what.c_str());
}

// Each path shows 10 pictures untimed, then 40 timed; only the time spent
// showing counts, so the game's own work and the pace's sleeps do not.
void SdlPresent::TrialFrame(double seconds) {
  if (trialFrame_ < 0) return;
  constexpr int kWarmUp = 10;
  constexpr int kTimed = 40;
  constexpr int kPhase = kWarmUp + kTimed;
  const int phase = trialFrame_ / kPhase;
  if (trialFrame_ % kPhase >= kWarmUp) trialSeconds_[phase] += seconds;
  ++trialFrame_;
  if (trialFrame_ == kPhase) {
    Use(Path::kCpu);
  } else if (trialFrame_ == 2 * kPhase) {
    char line[160];
    std::snprintf(line, sizeof line, "%d frames took %.1f ms with the graphics card, %.1f ms with the processor",
                  kTimed, trialSeconds_[0] * 1000.0, trialSeconds_[1] * 1000.0);
    Say(line);
    const bool gpuFaster = trialSeconds_[0] < trialSeconds_[1];
    trialFrame_ = -1;
    Use(gpuFaster ? Path::kGpu : Path::kCpu);
  }
}

bool SdlPresent::Show(const uint32_t* pixels, int width, int height) {
  if (window_ == nullptr) return false;
  const int64_t start = trialFrame_ >= 0 ? NowMicros() : 0;
  bool shown = false;
  if (path_ == Path::kGpu) {
    shown = gpu_.Present(pixels, width, height);
    if (!shown) {
      trialFrame_ = -1;
      Use(Path::kCpu);
    }
  }
  if (!shown && cpu_.Present(window_, pixels, width, height)) {
    shown = true;
    Announce(cpu_.DrawsPictureImage() ? "processor (our scaler into a shared image of the picture's size)"
                                      : "processor (our scaler onto the window surface, only the picture sent)");
  }
  if (!shown) {
    // No window surface our scaler can write (a 16- or 30-bit display has
    // other pixel layouts): SDL's renderer converts, whatever draws it. Where
    // nothing can show the display's format (8 bits), that is said whatever
    // --verbose says, or the player would face a blank screen with no reason.
    const Uint32 format = SDL_GetWindowPixelFormat(window_);
    const int bits = format != SDL_PIXELFORMAT_UNKNOWN ? SDL_BITSPERPIXEL(format) : X11WindowDepth(window_);
    const std::string depth = (bits > 0 ? std::to_string(bits) + "-bit" : std::string("unknown depth")) + ", " +
                              SDL_GetPixelFormatName(format);
    cpu_.Drop();
    if (gpu_.Started() || gpu_.Start(window_, width, height)) {
      path_ = Path::kGpu;
      shown = gpu_.Present(pixels, width, height);
    }
    if (shown) {
      Announce(("renderer SDL converts with, for the display's format (" + depth + ")").c_str());
    } else if (!toldUnshowable_) {
      toldUnshowable_ = true;
      std::fprintf(stderr, "stakko: the display's format (%s) cannot be shown; nothing will appear "
                   "(a 24-bit display shows it)\n", depth.c_str());
    }
  }
  if (trialFrame_ >= 0) TrialFrame(static_cast<double>(NowMicros() - start) / 1e6);
  if (shown) ++countedPictures_;
#ifdef __EMSCRIPTEN__
  lastShownMs_ = emscripten_get_now();
#endif
  return shown;
}

void SdlPresent::BeginFrame() {
  if (pace_.Paced()) {
    Sleep(pace_.FrameStart(NowMicros()));
    // The frame runs from when the sleep really ended, which on a busy
    // machine can be a millisecond past its slot. Unfocused no picture marks
    // the frame's end, so counted from the slot the jewel fountain's sixty
    // key reads after a late wake looked like a wait.
    pace_.FrameDone(NowMicros());
  }
  if (settings_.verbose) CountFrame();
}

void SdlPresent::CountFrame() {
  constexpr int64_t kEvery = 5000000;
  const int64_t now = NowMicros();
  if (countSince_ == 0) {
    countSince_ = now;
    countedFrames_ = 0;
    countedPictures_ = 0;
  }
  if (now - countSince_ >= kEvery) {
    const double seconds = static_cast<double>(now - countSince_) / 1e6;
    char line[160];
    std::snprintf(line, sizeof line, "%.1f game frames a second, %.1f pictures shown a second (the last %.0f s)",
                  countedFrames_ / seconds, countedPictures_ / seconds, seconds);
    Say(line);
    countSince_ = now;
    countedFrames_ = 0;
    countedPictures_ = 0;
  }
  ++countedFrames_;
}

bool SdlPresent::DisplayTakesPicture() const {
#ifdef __EMSCRIPTEN__
  if (PageStillToPaint(lastShownMs_)) return false;
#endif
  return pace_.MayPresent(NowMicros());
}

void SdlPresent::BeginRead() {
  if (pace_.Paced()) Sleep(pace_.Read(NowMicros()));
}

bool SdlPresent::Present(const uint32_t* pixels, int width, int height) {
  lastPixels_ = pixels;
  if (!pace_.Paced()) {
    // Unpaced, every frame is shown, as fast as it comes.
    owed_ = false;
    return Show(pixels, width, height);
  }
  if (!DisplayTakesPicture()) {
    owed_ = true;
    pace_.FrameDone(NowMicros());
    return window_ != nullptr;
  }
  // A picture that could not be shown is not retried at every read: the
  // next frame tries again.
  const bool shown = Show(pixels, width, height);
  owed_ = false;
  pace_.Presented(NowMicros());
  return shown;
}

void SdlPresent::ShowAgainIfOwed(bool active) {
  // Only a picture the back buffer still holds whole: once the game has
  // drawn again, its next frame is on its way anyway.
  if (!owed_ || !active || lastPixels_ == nullptr || !BackBufferUnchangedSinceFlip()) return;
  if (!DisplayTakesPicture()) return;
  owed_ = false;
  Show(lastPixels_, width_, height_);
  pace_.Presented(NowMicros());
}

}  // namespace platform
