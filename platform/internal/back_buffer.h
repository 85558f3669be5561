// The back buffer, whether the screen is open, and the drawing session: the
// state the screen, the image code and the drawing primitives share. Owned
// here so that none of them needs another's internals. Platform-internal.
#pragma once

#include <cstdint>

#include "platform/picture_format.h"

namespace platform {

// kBackBufferWidth * kBackBufferHeight pixels, row-major, stride
// kBackBufferWidth. It always exists; it is only drawn on while the screen
// is open. Every drawing goes through BackBufferPixels, which marks the
// picture as drawn on; FlipFrame takes it through BackBufferForFlip. So the
// platform knows when the back buffer still holds the last frame whole, and
// can show it again (a window resized on a screen that only waits).
uint32_t* BackBufferPixels();
const uint32_t* BackBufferForFlip();
bool BackBufferUnchangedSinceFlip();

bool ScreenOpen();
bool ScreenActive();  // open and the window has the focus
int ScreenWidth();    // 0 while closed
int ScreenHeight();   // 0 while closed
// Kept by the screen as it opens and closes.
void SetScreenOpen(int width, int height);
void SetScreenClosed();

// Called as the screen closes, so that input can reset the mouse.
void SetScreenCloseHook(void (*hook)());
void RunScreenCloseHook();

struct DrawingSession {
  Colour penColour = 0x00FFFFFF;
  Colour textBackColour = 0x00000000;
  unsigned paintMode = 0;
  int originX = 0;
  int originY = 0;
};

// Opens a fresh session; false while the screen is closed or one is open
// (sessions do not nest).
bool OpenSession();
void CloseSession();
// The open session, or nullptr when none is open.
DrawingSession* CurrentSession();

void ResetBackBufferState();

}  // namespace platform
