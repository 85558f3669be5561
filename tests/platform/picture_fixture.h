// An open headless screen plus pictures made on the fly, for the image and
// drawing tests.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/bitmap_file.h"
#include "platform/draw.h"
#include "platform/image.h"
#include "platform/internal/back_buffer.h"
#include "platform/screen.h"
#include "tests/test_support.h"

class PictureTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ASSERT_EQ(StartScreenSystem(), 1);
    ASSERT_EQ(OpenGameScreen(640, 480, 32, "Stakko", 0), 1);
    std::filesystem::create_directories(dir_.path() / "graphics");
  }

  // Pixels are 0x00RRGGBB, as in the back buffer.
  std::string WriteFile(int w, int h, const std::function<uint32_t(int, int)>& pixel) {
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y) * w + x] = pixel(x, y);
    const std::string name = "pic" + std::to_string(files_++) + ".bmp";
    EXPECT_TRUE(platform::WriteBitmap24((dir_.path() / "graphics" / name).string(), pixels.data(), w, h));
    return "graphics\\" + name;
  }
  ImageId MakeImage(int w, int h, const std::function<uint32_t(int, int)>& pixel) {
    return LoadImageFile(WriteFile(w, h, pixel));
  }
  SpriteId MakeSprite(int w, int h, const std::function<uint32_t(int, int)>& pixel) {
    return LoadSpriteFile(WriteFile(w, h, pixel));
  }
  static std::function<uint32_t(int, int)> Solid(uint32_t p) {
    return [p](int, int) { return p; };
  }

  static uint32_t& At(int x, int y) { return platform::BackBufferPixels()[y * 640 + x]; }
  // Number of back-buffer pixels different from `background`.
  static int CountNot(uint32_t background) {
    int n = 0;
    for (int i = 0; i < 640 * 480; ++i) n += platform::BackBufferPixels()[i] != background;
    return n;
  }

  ScopedWorkDir dir_;
  int files_ = 0;
};
