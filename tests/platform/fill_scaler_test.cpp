// Filling any screen: the largest area of the picture's shape, centred; a
// whole multiple scaled exactly as the whole-factor scaler does; any other
// size with every destination pixel the nearest source pixel and nothing
// written outside the area.
#include "platform/fill_scaler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace platform {
namespace {

TEST(FillScaler, TakesTheLargestAreaOfThePicturesShape) {
  struct Case {
    int dstW, dstH;
    Area want;
  } const cases[] = {
      {640, 480, {0, 0, 640, 480}},       {1280, 1024, {0, 32, 1280, 960}},
      {1366, 768, {171, 0, 1024, 768}},   {1920, 1080, {240, 0, 1440, 1080}},
      {3840, 2160, {480, 0, 2880, 2160}}, {500, 300, {50, 0, 400, 300}},
  };
  for (const Case& c : cases) EXPECT_EQ(FillArea(640, 480, c.dstW, c.dstH), c.want) << c.dstW << "x" << c.dstH;
}

TEST(FillScaler, EveryPixelOfTheAreaIsTheNearestSourcePixelAndTheBarsAreLeftAlone) {
  const uint32_t kBar = 0xDEADBEEFu;
  struct Case {
    int w, h, dstW, dstH;
  };
  // 2x exactly (the whole-factor path), 2.125x and 1.625x (runs of two
  // lengths mixed), just under 2x and 3x (long stretches of one length),
  // and a shrink.
  for (const Case c : {Case{8, 6, 16, 14}, Case{8, 6, 20, 13}, Case{8, 6, 15, 10}, Case{64, 48, 127, 95},
                       Case{64, 48, 190, 143}, Case{8, 6, 7, 9}}) {
    const int w = c.w, h = c.h, dstW = c.dstW, dstH = c.dstH;
    std::vector<uint32_t> src(static_cast<size_t>(w) * h);
    for (int i = 0; i < w * h; ++i) src[static_cast<size_t>(i)] = 0x10000u + static_cast<uint32_t>(i);
    const int pitch = dstW + 3;
    std::vector<uint32_t> dst(static_cast<size_t>(pitch) * dstH, kBar);
    FillScaler scaler;
    const Area a = FillArea(w, h, dstW, dstH);
    scaler.Prepare(w, h, a);
    scaler.Scale(src.data(), reinterpret_cast<uint8_t*>(dst.data()), pitch * 4);
    for (int y = 0; y < dstH; ++y) {
      for (int x = 0; x < pitch; ++x) {
        const bool inside = x >= a.left && x < a.left + a.width && y >= a.top && y < a.top + a.height;
        const uint32_t want =
            inside ? src[((y - a.top) * h / a.height) * w + (x - a.left) * w / a.width] : kBar;
        ASSERT_EQ(dst[static_cast<size_t>(y) * pitch + x], want) << dstW << "x" << dstH << " at " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace platform
