#include "platform/sdl/sdl_x11_wm.h"

#ifdef STAKKO_X11

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "platform/sdl/sdl_x11_refusals.h"

namespace platform {
namespace {

// The window named by `holder`'s _NET_SUPPORTING_WM_CHECK, or None.
Window CheckWindow(Display* display, Window holder, Atom check) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long left = 0;
  unsigned char* data = nullptr;
  Window named = None;
  if (XGetWindowProperty(display, holder, check, 0, 1, False, XA_WINDOW, &type, &format, &count, &left, &data) ==
          Success &&
      type == XA_WINDOW && format == 32 && count == 1)
    named = reinterpret_cast<Window*>(data)[0];
  if (data != nullptr) XFree(data);
  return named;
}

}  // namespace

bool X11WithoutWindowManager(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  Display* display = info.info.x11.display;
  if (display == nullptr) return false;
  // A running manager names a window of its own on the root window, and that
  // window names itself; a manager that died leaves a name that fails this.
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  X11Refusals refusals(display);
  const Window named = CheckWindow(display, DefaultRootWindow(display), check);
  const bool managed = named != None && CheckWindow(display, named, check) == named;
  return !refusals.Any() ? !managed : true;
}

}  // namespace platform

#else

namespace platform {

bool X11WithoutWindowManager(SDL_Window*) { return false; }

}  // namespace platform

#endif
