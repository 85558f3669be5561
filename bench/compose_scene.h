// The pictures and positions shared by the composition benchmarks, so our
// compositor and SDL's surface blits do exactly the same work.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace bench {

constexpr int kW = 640;
constexpr int kH = 480;

// A busy picture with some pure black, 0x00RRGGBB.
inline std::vector<uint32_t> MakePicture(int w, int h, uint32_t seed) {
  std::vector<uint32_t> p(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t v = (static_cast<uint32_t>(x) * 2654435761u) ^ (static_cast<uint32_t>(y) * 40503u) ^ seed;
      p[static_cast<size_t>(y) * w + x] = ((x + y) % 5 == 0) ? 0u : (v & 0x00FFFFFFu);
    }
  return p;
}

// The title wave's horizontal offset for each row.
inline int WaveShift(int row, int frame) {
  return static_cast<int>(std::lround(12.0 * std::sin(row / 23.0 + frame * 0.1)));
}

// Play-like frame: the well and the pieces (78 cells of 32x32), 25 caption
// glyphs of 32x28, 6 keyed sprites of 64x64.
constexpr int kCells = 78;
constexpr int kGlyphs = 25;
constexpr int kSprites = 6;
constexpr int kSpriteSize = 64;
inline void CellPosition(int i, int& x, int& y) {
  if (i < 72) {
    x = 224 + 32 * (i / 12);
    y = 55 + 32 * (i % 12 + 1) - 32;
  } else {
    x = 188;
    y = 58 + 32 * (i - 72);
  }
}
inline void GlyphPosition(int i, int& x, int& y) {
  x = 430 + 36 * (i % 5);
  y = 40 + 100 * (i / 5);
}
inline void SpritePosition(int i, int& x, int& y) {
  x = 20 + 100 * i;
  y = 400 - 30 * i;
}

}  // namespace bench
