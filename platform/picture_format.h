// The game's picture: its fixed size and how colours are written.
#pragma once

#include <cstdint>

using Colour = uint32_t;  // 0x00BBGGRR: red in the low byte

constexpr Colour MakeColour(int r, int g, int b) {
  return static_cast<Colour>(r) + static_cast<Colour>(g) * 256u +
         static_cast<Colour>(b) * 65536u;
}

namespace platform {

// Pixels in memory are 0x00RRGGBB (what a window surface takes as is).
constexpr uint32_t ColourToPixel(Colour c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr Colour PixelToColour(uint32_t p) { return ColourToPixel(p); }

constexpr int kBackBufferWidth = 640;
constexpr int kBackBufferHeight = 480;

}  // namespace platform
