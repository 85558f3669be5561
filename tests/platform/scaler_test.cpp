// The window's enlargement: whole factors, centred, nothing written outside
// the placed picture (the letterbox is left alone), every target pixel the
// source pixel it stands for.
#include "platform/scaler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace platform {
namespace {

struct Case {
  int dstW, dstH;
  Placement want;
};

TEST(Scaler, PlacesTheLargestWholeFactorCentredAndCropsWhatDoesNotFit) {
  const Case cases[] = {
      {640, 480, {1, 0, 0, 640, 480}},
      {1920, 1080, {2, 320, 60, 640, 480}},     // 3x would be 1440 rows
      {2560, 1440, {3, 320, 0, 640, 480}},
      {1280, 1024, {2, 0, 32, 640, 480}},
      {800, 400, {1, 80, 0, 640, 400}},         // too short: rows cropped, factor stays 1
      {500, 300, {1, 0, 0, 500, 300}},
  };
  for (const Case& c : cases) {
    const Placement p = PlaceInside(640, 480, c.dstW, c.dstH);
    EXPECT_EQ(p.factor, c.want.factor) << c.dstW << "x" << c.dstH;
    EXPECT_EQ(p.left, c.want.left) << c.dstW << "x" << c.dstH;
    EXPECT_EQ(p.top, c.want.top) << c.dstW << "x" << c.dstH;
    EXPECT_EQ(p.cols, c.want.cols) << c.dstW << "x" << c.dstH;
    EXPECT_EQ(p.rows, c.want.rows) << c.dstW << "x" << c.dstH;
  }
}

TEST(Scaler, EachFactorCopiesEverySourcePixelIntoItsBlockOnly) {
  const int w = 7, h = 5;
  std::vector<uint32_t> src(w * h);
  for (int i = 0; i < w * h; ++i) src[i] = 0x10000u + static_cast<uint32_t>(i);
  for (int k = 1; k <= 4; ++k) {
    const int dstW = w * k + 6, dstH = h * k + 3;
    const int pitchPixels = dstW + 2;  // rows padded, as surfaces may be
    const uint32_t kLetterbox = 0xDEADBEEFu;
    std::vector<uint32_t> dst(static_cast<size_t>(pitchPixels) * dstH, kLetterbox);
    const Placement p = PlaceInside(w, h, dstW, dstH);
    ASSERT_EQ(p.factor, k);
    ScaleInto(src.data(), w, p, reinterpret_cast<uint8_t*>(dst.data()), pitchPixels * 4);
    for (int y = 0; y < dstH; ++y) {
      for (int x = 0; x < pitchPixels; ++x) {
        const bool inside = x >= p.left && x < p.left + w * k && y >= p.top && y < p.top + h * k;
        const uint32_t want = inside ? src[((y - p.top) / k) * w + (x - p.left) / k] : kLetterbox;
        ASSERT_EQ(dst[static_cast<size_t>(y) * pitchPixels + x], want) << "k=" << k << " x=" << x << " y=" << y;
      }
    }
  }
}

}  // namespace
}  // namespace platform
