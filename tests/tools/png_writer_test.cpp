// Our PNG writer, read back by zlib: every kind of picture comes back pixel
// for pixel, and the pictures we ship shrink to a fraction.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdint>
#include <random>
#include <vector>

#include "tools/sim/png_writer.h"

namespace {

uint32_t Be32(const uint8_t* p) { return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3]; }

// The pixels of a PNG as our writer makes them (8-bit RGB or RGBA, one IDAT).
std::vector<uint32_t> Decode(const std::vector<uint8_t>& png, int width, int height, bool alpha) {
  const int bpp = alpha ? 4 : 3;
  const size_t rowBytes = static_cast<size_t>(width) * bpp;
  EXPECT_EQ(Be32(&png[16]), static_cast<uint32_t>(width));
  EXPECT_EQ(Be32(&png[20]), static_cast<uint32_t>(height));
  const size_t idat = 8 + 25;  // signature, IHDR chunk
  EXPECT_EQ(std::string(png.begin() + idat + 4, png.begin() + idat + 8), "IDAT");
  std::vector<uint8_t> raw(static_cast<size_t>(height) * (rowBytes + 1));
  uLongf size = raw.size();
  EXPECT_EQ(uncompress(raw.data(), &size, &png[idat + 8], Be32(&png[idat])), Z_OK);
  EXPECT_EQ(size, raw.size());
  std::vector<uint8_t> image(static_cast<size_t>(height) * rowBytes);
  for (int y = 0; y < height; ++y) {
    const uint8_t type = raw[y * (rowBytes + 1)];
    const uint8_t* in = &raw[y * (rowBytes + 1) + 1];
    uint8_t* row = &image[y * rowBytes];
    for (size_t i = 0; i < rowBytes; ++i) {
      const int a = i >= static_cast<size_t>(bpp) ? row[i - bpp] : 0;
      const int b = y > 0 ? row[i - rowBytes] : 0;
      const int c = y > 0 && i >= static_cast<size_t>(bpp) ? row[i - rowBytes - bpp] : 0;
      const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
      const int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      const int predicted[5] = {0, a, b, (a + b) / 2, paeth};
      row[i] = static_cast<uint8_t>(in[i] + predicted[type]);
    }
  }
  std::vector<uint32_t> pixels;
  for (size_t i = 0; i < image.size(); i += bpp) {
    pixels.push_back(uint32_t{image[i]} << 16 | uint32_t{image[i + 1]} << 8 | image[i + 2] |
                     (alpha ? uint32_t{image[i + 3]} << 24 : 0));
  }
  return pixels;
}

}  // namespace

TEST(PngWriter, EveryPictureReadsBackAndFlatOnesShrink) {
  std::mt19937 random(7);
  struct Case {
    int width, height;
    bool alpha;
    int kind;  // 0 noise, 1 flat with a sprite repeated, 2 gradient
  };
  for (const Case c : {Case{1, 1, false, 0}, Case{7, 5, true, 0}, Case{640, 480, false, 1}, Case{256, 256, true, 2},
                       Case{301, 3, false, 2}}) {
    std::vector<uint32_t> pixels(static_cast<size_t>(c.width) * c.height);
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        uint32_t& p = pixels[static_cast<size_t>(y) * c.width + x];
        if (c.kind == 0) p = random();
        else if (c.kind == 1) p = (x % 32 < 20 && y % 32 < 20) ? 0x00c04010u + uint32_t(x % 32 * y % 32) : 0x00ebebebu;
        else p = uint32_t(x) << 24 | uint32_t(y) << 8 | uint32_t(x + y) % 256;
        if (!c.alpha) p &= 0x00ffffffu;
      }
    }
    const std::vector<uint8_t> png = EncodePng(pixels.data(), c.width, c.height, c.alpha);
    EXPECT_EQ(Decode(png, c.width, c.height, c.alpha), pixels) << c.width << "x" << c.height;
    if (c.kind != 0) {
      EXPECT_LT(png.size() * 20, pixels.size() * (c.alpha ? 4 : 3)) << c.width << "x" << c.height;
    }
  }
}
