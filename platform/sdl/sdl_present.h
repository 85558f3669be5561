// Presentation: how the finished 640x480 frame reaches the screen, and when.
// This unit owns the two presenters (the processor's, here, and the
// graphics card's, in sdl_present_gpu), the choice between them (forced by --present, or timed against
// each other at start-up where a real graphics card exists), the steady
// pace of --fps with the pictures it leaves out, and the last picture,
// which it shows again whenever the window is resized, uncovered or
// switched, even on screens that show one picture and then only wait.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/frame_pace.h"
#include "platform/fill_scaler.h"
#include "platform/sdl/sdl_present_gpu.h"
#include "platform/sdl/sdl_settings.h"
#include "platform/sdl/sdl_x11_picture.h"

namespace platform {

// The processor's way to the screen: our own nearest-neighbour scaler
// writes the picture straight into memory the display reads. On an X
// server that is an image of the picture's own size (see sdl_x11_picture.h);
// elsewhere the window surface (a DIB section...), of which only the
// picture's rectangle is handed to the display each frame. Either way the
// black bars are cleared and sent once, when the window is new, resized or
// uncovered.
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

class SdlPresent {
 public:
  explicit SdlPresent(const SdlSettings& settings)
      : settings_(settings), cpu_(settings.scale), gpu_(settings.scale), pace_(settings.fps) {}

  // A window to show pictures in, of a picture width x height; chooses the
  // presenter and learns the display's refresh rate.
  void Open(SDL_Window* window, int width, int height);
  void Close();

  // The window's size or place changed (or it was shown again): its
  // surface is fetched anew and the picture shown again.
  void SurfaceChanged();
  // Part of the window was uncovered: the bars and the picture again.
  void Exposed();

  // Every game frame begins here, shown or not: sleeps out the frame's slot.
  void BeginFrame();
  // Before each input read: the screens that only wait take their slots.
  void BeginRead();
  // The frame's picture: shown, or left out where the display cannot take
  // one yet (with a pace only). Returns false only when nothing can show it.
  bool Present(const uint32_t* pixels, int width, int height);
  // Shows the last picture again where it is owed one (the window changed,
  // or the last frame before a wait was left out) and the game has not
  // drawn since.
  void ShowAgainIfOwed(bool active);

 private:
  enum class Path { kCpu, kGpu };
  int64_t NowMicros() const;
  void Sleep(int64_t micros) const;
  bool Show(const uint32_t* pixels, int width, int height);
  void Use(Path path);
  void TrialFrame(double seconds);
  void Say(const std::string& what) const;
  void Announce(const char* how);
  void CountFrame();
  // Whether a picture may go to the display now: the refresh rate's grid
  // (with a pace), and on a page the last picture painted.
  bool DisplayTakesPicture() const;

  SdlSettings settings_;
  SDL_Window* window_ = nullptr;
  int width_ = 640;
  int height_ = 480;
  SdlCpuPresenter cpu_;
  SdlGpuPresenter gpu_;
  Path path_ = Path::kCpu;
  FramePace pace_;
  const uint32_t* lastPixels_ = nullptr;
  bool owed_ = false;  // the screen does not show the last frame's picture
  // Auto mode with a real graphics card: both paths show a few dozen
  // pictures at start-up and the faster one is kept.
  int trialFrame_ = -1;
  double trialSeconds_[2] = {0.0, 0.0};
  bool announce_ = false;  // the path in use is still to be said (--verbose)
  bool toldUnshowable_ = false;  // an unshowable display format was named on stderr
  // --verbose says every few seconds how many frames ran and how many
  // pictures reached the screen: whether this machine holds the pace.
  int64_t countSince_ = 0;
  int countedFrames_ = 0;
  int countedPictures_ = 0;
  double lastShownMs_ = -1;  // in a page: when the last picture was handed over
};

}  // namespace platform
