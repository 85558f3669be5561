// The game's one window and its 640x480 back buffer.
#pragma once

#include <cstdint>
#include <string>

using Colour = uint32_t;  // 0x00BBGGRR: red in the low byte

constexpr Colour MakeColour(int r, int g, int b) {
  return static_cast<Colour>(r) + static_cast<Colour>(g) * 256u +
         static_cast<Colour>(b) * 65536u;
}

int StartScreenSystem();
int OpenGameScreen(int width, int height, int depth, const std::string& title,
                   int syncMode);
void ClearBackBuffer(Colour colour);
int FlipFrame();
void CloseGameScreen();
void StopScreenSystem();
int ShowMessageBox(const std::string& title, const std::string& text,
                   uint32_t flags);

namespace platform {

// Pixels in memory are 0x00RRGGBB (what a window surface takes as is).
constexpr uint32_t ColourToPixel(Colour c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr Colour PixelToColour(uint32_t p) { return ColourToPixel(p); }

constexpr int kBackBufferWidth = 640;
constexpr int kBackBufferHeight = 480;

// The back buffer: kBackBufferWidth * kBackBufferHeight pixels, row-major,
// stride kBackBufferWidth. It always exists; it is only drawn on while the
// screen is open.
uint32_t* BackBufferPixels();
bool ScreenOpen();
bool ScreenActive();
int ScreenWidth();   // 0 while closed
int ScreenHeight();  // 0 while closed

// Called by CloseGameScreen so that input can reset the mouse.
void SetScreenCloseHook(void (*hook)());

void ResetScreenState();

}  // namespace platform
