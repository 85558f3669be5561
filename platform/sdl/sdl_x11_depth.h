// The colour depth of the game's window on an X server, for saying what the
// display offers when it is not the 24 bits our pixels are: SDL names no
// format for 8- or 30-bit windows.
#pragma once

#include <SDL.h>

namespace platform {

// Bits a pixel of the window's visual; 0 where it is not an X11 window.
int X11WindowDepth(SDL_Window* window);

}  // namespace platform
