// The desktop icon painted at its smallest and largest sizes: each size is
// the same picture in the same place (the large one averaged down matches
// the small one), with transparent corners and the three stones' colours
// down the middle.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tools/packaging/app_icon.h"

namespace {

struct Rgba {
  int r, g, b, a;
};

Rgba At(const std::vector<uint32_t>& pixels, int size, int x, int y) {
  const uint32_t p = pixels[static_cast<size_t>(y) * size + x];
  return {static_cast<int>(p >> 16 & 0xFF), static_cast<int>(p >> 8 & 0xFF), static_cast<int>(p & 0xFF),
          static_cast<int>(p >> 24)};
}

TEST(DesktopIcon, EverySizeIsTheSamePictureDrawnAtThatSize) {
  const auto shapes = icon::DesktopIcon();
  const auto small = icon::Paint(shapes, 32);
  const auto large = icon::Paint(shapes, 256);
  ASSERT_EQ(small.size(), 32u * 32u);
  ASSERT_EQ(large.size(), 256u * 256u);

  for (const auto* p : {&small, &large}) {
    const int size = p == &small ? 32 : 256;
    EXPECT_EQ(At(*p, size, 0, 0).a, 0);
    EXPECT_EQ(At(*p, size, size - 1, size - 1).a, 0);
    // Down the middle: a red stone, a yellow one, a blue one.
    const Rgba ruby = At(*p, size, size / 2, size * 57 / 256);
    const Rgba topaz = At(*p, size, size / 2, size * 136 / 256);
    const Rgba sapphire = At(*p, size, size / 2, size * 199 / 256);
    EXPECT_GT(ruby.r, 2 * ruby.g) << size;
    EXPECT_GT(topaz.g, 2 * topaz.b) << size;
    EXPECT_GT(sapphire.b, 2 * sapphire.r) << size;
  }

  // The large one averaged over 8x8 blocks is the small one, within what
  // sampling the edges differently allows.
  int far = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      int sum[4] = {0, 0, 0, 0};
      for (int dy = 0; dy < 8; ++dy)
        for (int dx = 0; dx < 8; ++dx) {
          const Rgba c = At(large, 256, x * 8 + dx, y * 8 + dy);
          // Premultiplied, as a blend onto a background sees it.
          sum[0] += c.r * c.a / 255;
          sum[1] += c.g * c.a / 255;
          sum[2] += c.b * c.a / 255;
          sum[3] += c.a;
        }
      const Rgba s = At(small, 32, x, y);
      const int want[4] = {s.r * s.a / 255, s.g * s.a / 255, s.b * s.a / 255, s.a};
      for (int c = 0; c < 4; ++c)
        if (std::abs(sum[c] / 64 - want[c]) > 24) ++far;
    }
  EXPECT_LT(far, 16) << "pixels of the 32-pixel icon unlike the 256-pixel one averaged down";
}

}  // namespace
