#include "platform/sdl/sdl_x11_depth.h"

#ifdef STAKKO_X11

#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace platform {

int X11WindowDepth(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
  XWindowAttributes attributes;
  if (info.info.x11.display == nullptr ||
      XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes) == 0)
    return 0;
  return attributes.depth;
}

}  // namespace platform

#else

namespace platform {

int X11WindowDepth(SDL_Window*) { return 0; }

}  // namespace platform

#endif
