// Bitmap decoding: every accepted layout to known pixels, every refusal, and
// the malformed files found by fuzzing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/bitmap_file.h"
#include "platform/image.h"
#include "tests/platform/bitmap_builder.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;
using platform::DecodeBitmap;

namespace {

std::optional<platform::DecodedBitmap> Decode(const std::vector<uint8_t>& file) {
  return DecodeBitmap(file.data(), file.size());
}

BitmapBuilder Indexed(uint16_t bits, int width, int height) {
  BitmapBuilder b;
  b.bits = bits;
  b.width = width;
  b.height = height;
  b.table = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF};
  b.coloursUsed = static_cast<uint32_t>(b.table.size());
  return b;
}

// A valid 8-bit run-length file of 4x3 with runs, a delta, an odd literal
// and an end-of-picture mark.
BitmapBuilder Rle8() {
  BitmapBuilder b = Indexed(8, 4, 3);
  b.compression = 1;
  b.pixelData = {
      2, 1, 2, 2, 0, 0,  // bottom row: red red green green, end of row
      0, 3, 3, 4, 5, 0,  // literal of 3: blue 0x123456 white, padded
      0, 2, 1, 0,        // delta: one right, no rows up
      0, 0,              // end of row
      1, 1,              // top row: one red
      0, 1,              // end of picture: the rest stays black
  };
  return b;
}

}  // namespace

TEST(BitmapDecode, TrueColourLayouts) {
  const std::vector<std::vector<uint32_t>> rgb = {{0x102030, 0xFFFFFF, 0x000000},
                                                   {0xFF0000, 0x00FF00, 0x0000FF}};
  for (uint16_t bits : {24, 32}) {
    BitmapBuilder b;
    b.bits = bits;
    b.width = 3;
    b.height = 2;
    b.SetRows(rgb);
    auto d = Decode(b.Build());
    ASSERT_TRUE(d) << bits;
    EXPECT_EQ(d->width, 3);
    EXPECT_EQ(d->height, 2);
    EXPECT_EQ(d->sourceDepth, bits);
    EXPECT_EQ(d->pixels, (std::vector<uint32_t>{0x102030, 0xFFFFFF, 0, 0xFF0000, 0x00FF00, 0x0000FF}));
  }

  BitmapBuilder b555;
  b555.bits = 16;
  b555.width = 4;
  b555.height = 1;
  b555.SetRows({{0x7C00, 0x03E0, 0x001F, 0x4210}});
  auto d = Decode(b555.Build());
  ASSERT_TRUE(d);
  EXPECT_EQ(d->pixels, (std::vector<uint32_t>{0xF80000, 0x00F800, 0x0000F8, 0x808080}));

  // 5-6-5 with the masks after a plain header, and inside a larger one.
  for (uint32_t infoSize : {40u, 56u, 108u, 124u}) {
    BitmapBuilder b565;
    b565.bits = 16;
    b565.compression = 3;
    b565.infoSize = infoSize;
    b565.masks = {0xF800, 0x07E0, 0x001F};
    b565.width = 3;
    b565.height = 1;
    b565.SetRows({{0xF800, 0x07E0, 0x0821}});
    d = Decode(b565.Build());
    ASSERT_TRUE(d) << infoSize;
    EXPECT_EQ(d->pixels, (std::vector<uint32_t>{0xF80000, 0x00FC00, 0x080408})) << infoSize;
  }
}

TEST(BitmapDecode, IndexedLayouts) {
  // Widths chosen so rows end inside a byte and need padding.
  BitmapBuilder b1 = Indexed(1, 9, 2);
  b1.table = {0x000000, 0xFFFFFF};
  b1.coloursUsed = 0;  // 0 means the full 2^bits table
  b1.SetRows({{1, 0, 1, 0, 0, 0, 0, 0, 1}, {0, 1, 1, 1, 1, 1, 1, 1, 0}});
  auto d = Decode(b1.Build());
  ASSERT_TRUE(d);
  const uint32_t W = 0xFFFFFF;
  EXPECT_EQ(d->pixels, (std::vector<uint32_t>{W, 0, W, 0, 0, 0, 0, 0, W, 0, W, W, W, W, W, W, W, 0}));

  BitmapBuilder b4 = Indexed(4, 3, 2);
  b4.SetRows({{1, 2, 3}, {4, 5, 0}});
  d = Decode(b4.Build());
  ASSERT_TRUE(d);
  EXPECT_EQ(d->sourceDepth, 4);
  EXPECT_EQ(d->pixels, (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0x123456, W, 0}));

  BitmapBuilder b8 = Indexed(8, 5, 1);
  b8.SetRows({{5, 4, 3, 2, 1}});
  d = Decode(b8.Build());
  ASSERT_TRUE(d);
  EXPECT_EQ(d->pixels, (std::vector<uint32_t>{W, 0x123456, 0x0000FF, 0x00FF00, 0xFF0000}));

  d = Decode(Rle8().Build());
  ASSERT_TRUE(d);
  EXPECT_EQ(d->sourceDepth, 8);
  EXPECT_EQ(d->pixels, (std::vector<uint32_t>{0xFF0000, 0, 0, 0,                  // top
                                              0x0000FF, 0x123456, W, 0,          // middle
                                              0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00}));
}

TEST(BitmapDecode, LastRowMayLackItsPadding) {
  BitmapBuilder b;
  b.width = 1;
  b.height = 2;
  b.SetRows({{0x010203}, {0x040506}});
  std::vector<uint8_t> file = b.Build();
  file.pop_back();  // the top row is stored last; drop its one padding byte
  auto d = Decode(file);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->pixels, (std::vector<uint32_t>{0x010203, 0x040506}));
  file.pop_back();  // now a pixel byte is missing
  EXPECT_FALSE(Decode(file));
}

TEST(BitmapDecode, RunLengthDataIsClippedToRowAndPicture) {
  BitmapBuilder b = Indexed(8, 2, 2);
  b.compression = 1;
  b.pixelData = {
      9, 1,              // a run of nine on a row of two
      0, 5, 2, 2, 2, 2, 2, 0,  // a literal of five more, padded
      0, 0,              // end of row
      0, 2, 200, 200,    // a delta far past the top right
      7, 3,              // a run that lands nowhere
      0, 0, 0, 0, 0, 0,  // ends of rows past the top
  };
  auto d = Decode(b.Build());
  ASSERT_TRUE(d);  // every row was completed, so no end mark is needed
  EXPECT_EQ(d->pixels, (std::vector<uint32_t>{0, 0, 0xFF0000, 0xFF0000}));

  // Rows completed by the last end of row, without an end-of-picture mark.
  b.pixelData = {2, 1, 0, 0, 2, 2, 0, 0};
  d = Decode(b.Build());
  ASSERT_TRUE(d);
  EXPECT_EQ(d->pixels, (std::vector<uint32_t>{0x00FF00, 0x00FF00, 0xFF0000, 0xFF0000}));
}

// One valid file per layout, each spoilt in one way.
TEST(BitmapDecode, RefusesMalformedFiles) {
  BitmapBuilder plain;
  plain.width = 2;
  plain.height = 2;
  plain.SetRows({{1, 2}, {3, 4}});
  BitmapBuilder indexed = Indexed(8, 2, 2);
  indexed.SetRows({{1, 2}, {3, 4}});
  ASSERT_TRUE(Decode(plain.Build()));
  ASSERT_TRUE(Decode(indexed.Build()));
  ASSERT_TRUE(Decode(Rle8().Build()));

  struct Case {
    const char* what;
    std::function<std::vector<uint8_t>()> make;
  };
  auto patched = [](const BitmapBuilder& b, std::function<void(std::vector<uint8_t>&)> f) {
    return [b, f] {
      std::vector<uint8_t> file = b.Build();
      f(file);
      return file;
    };
  };
  auto built = [](std::function<void(BitmapBuilder&)> f, BitmapBuilder b) {
    return [b, f]() mutable {
      f(b);
      return b.Build();
    };
  };
  const std::vector<Case> cases = {
      {"empty", [] { return std::vector<uint8_t>{}; }},
      {"shorter than the headers", patched(plain, [](auto& f) { f.resize(53); })},
      {"wrong signature", patched(plain, [](auto& f) { f[1] = 'A'; })},
      {"first reserved word", patched(plain, [](auto& f) { f[6] = 1; })},
      {"second reserved word", patched(plain, [](auto& f) { f[9] = 1; })},
      {"core header", patched(plain, [](auto& f) { Patch32(f, 14, 12); })},
      {"unknown header size", patched(plain, [](auto& f) { Patch32(f, 14, 64); })},
      {"header past the end", patched(plain, [](auto& f) { Patch32(f, 14, 124); })},
      {"huge header size", patched(plain, [](auto& f) { Patch32(f, 14, 0xFFFFFFF0u); })},
      {"zero width", patched(plain, [](auto& f) { Patch32(f, 18, 0); })},
      {"negative width", patched(plain, [](auto& f) { Patch32(f, 18, static_cast<uint32_t>(-2)); })},
      {"zero height", patched(plain, [](auto& f) { Patch32(f, 22, 0); })},
      {"top-down", patched(plain, [](auto& f) { Patch32(f, 22, static_cast<uint32_t>(-2)); })},
      {"width over the cap", patched(Rle8(), [](auto& f) { Patch32(f, 18, 16385); })},
      {"height over the cap", patched(Rle8(), [](auto& f) { Patch32(f, 22, 16385); })},
      {"area over the cap",
       patched(Rle8(), [](auto& f) { Patch32(f, 18, 16384); Patch32(f, 22, 1025); })},
      {"two planes", patched(plain, [](auto& f) { Patch16(f, 26, 2); })},
      {"2 bits", built([](auto& b) { b.bits = 2; }, indexed)},
      {"0 bits", patched(plain, [](auto& f) { Patch16(f, 28, 0); })},
      {"64 bits", patched(plain, [](auto& f) { Patch16(f, 28, 64); })},
      {"4-bit run-length", built([](auto& b) { b.bits = 4; b.compression = 2; }, indexed)},
      {"run-length 24 bits", patched(plain, [](auto& f) { Patch32(f, 30, 1); })},
      {"bit fields on 32 bits",
       built([](auto& b) { b.bits = 32; b.compression = 3; b.masks = {0xFF0000, 0xFF00, 0xFF};
                           b.SetRows({{1, 2}, {3, 4}}); }, plain)},
      {"bit fields on 8 bits", patched(indexed, [](auto& f) { Patch32(f, 30, 3); })},
      {"5-5-5 masks",
       built([](auto& b) { b.bits = 16; b.compression = 3; b.masks = {0x7C00, 0x03E0, 0x001F};
                           b.SetRows({{1, 2}, {3, 4}}); }, plain)},
      {"masks cut off",
       built([](auto& b) { b.bits = 16; b.compression = 3; b.width = 1; b.height = 1;
                           b.masks = {0xF800}; b.pixelData = {0, 0, 0, 0}; }, plain)},
      {"JPEG compression", patched(plain, [](auto& f) { Patch32(f, 30, 4); })},
      {"table larger than 2^bits", patched(indexed, [](auto& f) { Patch32(f, 46, 257); })},
      {"table into the pixels", patched(indexed, [](auto& f) { Patch32(f, 46, 7); })},
      {"pixel offset past the end", patched(plain, [](auto& f) { Patch32(f, 10, 100000); })},
      {"pixel offset at the end",
       patched(plain, [](auto& f) { Patch32(f, 10, static_cast<uint32_t>(f.size())); })},
      {"pixel offset inside the header", patched(plain, [](auto& f) { Patch32(f, 10, 20); })},
      {"rows cut short", patched(plain, [](auto& f) { f.resize(f.size() - 5); })},
      {"index outside the table",
       built([](auto& b) { b.SetRows({{1, 6}, {0, 0}}); }, indexed)},
      {"1-bit index outside a one-entry table",
       built([](auto& b) { b.bits = 1; b.table = {0}; b.coloursUsed = 1; b.SetRows({{0, 1}, {0, 0}}); },
             indexed)},
      {"run index outside the table", built([](auto& b) { b.pixelData[1] = 6; }, Rle8())},
      {"literal index outside the table", built([](auto& b) { b.pixelData[9] = 200; }, Rle8())},
      {"run-length ends early",
       built([](auto& b) { b.pixelData.resize(b.pixelData.size() - 4); }, Rle8())},
      {"run-length ends mid-pair",
       built([](auto& b) { b.pixelData = {2, 1, 0}; }, Rle8())},
      {"literal past the end of the data", built([](auto& b) { b.pixelData = {0, 200, 1, 1}; }, Rle8())},
      {"delta cut off", built([](auto& b) { b.pixelData = {0, 2, 1}; }, Rle8())},
      {"run-length size past the end", built([](auto& b) { b.imageBytes = 1000; }, Rle8())},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file = c.make();
    EXPECT_FALSE(DecodeBitmap(file.data(), file.size())) << c.what;
  }
  EXPECT_FALSE(DecodeBitmap(nullptr, 100));
}

// Inputs that once crashed or hung the decoder, or that sit on an edge the
// fuzzer kept finding; each must decode safely (the sanitizer build checks
// the reads) and is refused.
TEST(BitmapDecode, FuzzedFilesAreRefusedSafely) {
  const fs::path dir = fs::path(STAKKO_SOURCE_DIR) / "tests" / "data" / "bitmap";
  int count = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::vector<uint8_t> file = ReadBytes(entry.path());
    EXPECT_FALSE(DecodeBitmap(file.data(), file.size())) << entry.path().filename();
    ++count;
  }
  EXPECT_GT(count, 0);
}

TEST_F(HeadlessTest, LoadsFilesByTheGamesNames) {
  ScopedWorkDir dir;
  fs::create_directories(dir.path() / "graphics");
  BitmapBuilder b;
  b.width = 2;
  b.height = 1;
  b.SetRows({{1, 2}});
  WriteBytes(dir.path() / "graphics" / "Tiny.bmp", b.Build());
  std::ofstream(dir.path() / "graphics" / "Junk.bmp", std::ios::binary) << "not a picture";

  EXPECT_NE(LoadImageFile("graphics\\Tiny.bmp"), 0);
  EXPECT_EQ(LoadImageFile("graphics\\Junk.bmp"), 0);
  EXPECT_EQ(LoadImageFile("graphics\\Missing.bmp"), 0);
  EXPECT_EQ(LoadImageFile("graphics"), 0);  // a folder
  // Sprites belong to the screen: none without it.
  EXPECT_EQ(LoadSpriteFile("graphics\\Tiny.bmp"), 0);
  ASSERT_EQ(StartScreenSystem(), 1);
  ASSERT_EQ(OpenGameScreen(640, 480, 32, "Stakko", 0), 1);
  EXPECT_NE(LoadSpriteFile("graphics\\Tiny.bmp"), 0);
  EXPECT_EQ(LoadSpriteFile("graphics\\Junk.bmp"), 0);
}

TEST(BitmapWrite, RoundTripsThroughTheDecoder) {
  const std::vector<uint32_t> pixels = {0x010203, 0xA0B0C0, 0x000000, 0xFFFFFF, 0x00FF00, 0x800080};
  const std::vector<uint8_t> file = platform::EncodeBitmap24(pixels.data(), 3, 2);
  auto d = Decode(file);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->width, 3);
  EXPECT_EQ(d->height, 2);
  EXPECT_EQ(d->pixels, pixels);
}
