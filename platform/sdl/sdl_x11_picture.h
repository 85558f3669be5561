// On an X server, the processor's path draws into a shared-memory image of
// the picture's own size and puts it into the game's window, instead of
// drawing into SDL's window surface.
//
// Why: the server copies a shared-memory image with a plain memcpy only
// when whole rows of the image are put; a rectangle inside a wider image
// (the picture between the bars of a 1920x1080 window surface) goes through
// a copy loop that costs about twice as much a byte. With an image exactly
// the picture's size every frame is whole rows, so a 1280x960 picture costs
// the same on a 1920x1080 screen as on a 1280x1024 one.
//
// Anywhere this cannot be had (not X11, no shared memory on a remote
// display, a visual other than 24-bit 0xRRGGBB) Open gives nothing and the
// window surface is used.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>

#include "platform/fill_scaler.h"

namespace platform {

class X11Picture {
 public:
  static std::unique_ptr<X11Picture> Open(SDL_Window* window);
  virtual ~X11Picture() = default;

  // The image is made (again) for a picture of this size; false if the
  // server refuses, and the caller gives this path up.
  virtual bool Fit(int width, int height) = 0;
  // The image's memory, once the server has finished copying the last
  // frame out of it.
  virtual uint8_t* Pixels() = 0;
  virtual int Pitch() const = 0;
  // Sends the whole image to `at` of the window without waiting: the server
  // copies it while the game makes its next frame, and Pixels() waits for
  // that copy only when the next frame is ready to be written. With
  // clearAround, the rest of a windowW x windowH window is painted black
  // first.
  virtual bool Put(const Area& at, bool clearAround, int windowW, int windowH) = 0;
};

}  // namespace platform
