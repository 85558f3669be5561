// An X server reports a refused request later, to an error handler, and
// Xlib's default handler ends the program. Requests that may be refused
// (shared memory on a remote display, a property of a window that may be
// gone) are made while one of these is alive and followed by Any(), which
// waits for the server's answer.
#pragma once

#include <X11/Xlib.h>

namespace platform {

class X11Refusals {
 public:
  explicit X11Refusals(Display* display) : display_(display) {
    XSync(display_, False);
    refused_ = false;
    previous_ = XSetErrorHandler(Note);
  }
  ~X11Refusals() {
    XSync(display_, False);
    XSetErrorHandler(previous_);
  }
  X11Refusals(const X11Refusals&) = delete;
  X11Refusals& operator=(const X11Refusals&) = delete;

  bool Any() {
    XSync(display_, False);
    return refused_;
  }

 private:
  static int Note(Display*, XErrorEvent*) {
    refused_ = true;
    return 0;
  }
  static inline bool refused_ = false;
  Display* display_;
  int (*previous_)(Display*, XErrorEvent*);
};

}  // namespace platform
