// Whether the game's window is on an X server that no window manager runs
// (a kiosk session, a bare X server, Xvfb).
//
// Why it matters: asked for fullscreen, SDL 2.26 sends the request to the
// window manager and then waits up to 100 ms for the window to change; with
// nobody to answer, every start and every Alt+Enter costs that wait. There a
// window simply covering the screen is all fullscreen can be.
#pragma once

#include <SDL.h>

namespace platform {

bool X11WithoutWindowManager(SDL_Window* window);

}  // namespace platform
