// An open headless screen, keyboard and sound, with pictures and sounds made
// on the spot: every glyph cell of the two font sheets has its own colour,
// so the text on a presented frame can be read back character by character.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "flow/globals.h"
#include "platform/bitmap_file.h"
#include "platform/calendar.h"
#include "platform/image.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "scores/bitmap_font.h"
#include "tests/test_support.h"
#include "tests/platform/wave_builder.h"

namespace scores_test {

inline const std::string kSmallSet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-!@#$%^&*()<>,.\\/?=+[]` ";
inline const std::string kLargeSet = "#0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-._ ";

// Pixels as the back buffer holds them, 0x00RRGGBB.
constexpr uint32_t Rgb(int r, int g, int b) {
  return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
}
constexpr uint32_t SmallGlyphPixel(int n) { return Rgb(n * 4, 160, 40); }
constexpr uint32_t LargeGlyphPixel(int n) { return Rgb(40, 80, n * 5); }
constexpr uint32_t kHighscorePixel = Rgb(10, 200, 200);
constexpr uint32_t kGameOverPixel = Rgb(250, 10, 10);
constexpr uint32_t kWhite = Rgb(255, 255, 255);
constexpr int kHighscoreHeight = 150;
constexpr int kGameOverHeight = 100;

using Frame = std::vector<uint32_t>;

inline uint32_t PixelOf(const Frame& frame, int x, int y) {
  if (x < 0 || y < 0 || x >= 640 || y >= 480 || frame.size() < 640u * 480u) return 0;
  return frame[static_cast<size_t>(y) * 640 + static_cast<size_t>(x)];
}

// The characters drawn from (x, y) on, one glyph cell after another, up to
// the first cell that holds no glyph.
inline std::string ReadSmall(const Frame& frame, int x, int y, int most = 40) {
  std::string text;
  for (int k = 0; k < most; ++k) {
    uint32_t p = PixelOf(frame, x + 16 * k + 8, y + 8);
    size_t n = 1;
    while (n <= kSmallSet.size() && SmallGlyphPixel(static_cast<int>(n)) != p) ++n;
    if (n > kSmallSet.size()) break;
    text.push_back(kSmallSet[n - 1]);
  }
  return text;
}

inline std::string ReadLarge(const Frame& frame, int x, int y, int most = 20) {
  std::string text;
  for (int k = 0; k < most; ++k) {
    uint32_t p = PixelOf(frame, x + 32 * k + 16, y + 14);
    size_t n = 1;
    while (n <= kLargeSet.size() && LargeGlyphPixel(static_cast<int>(n)) != p) ++n;
    if (n > kLargeSet.size()) break;
    text.push_back(kLargeSet[n - 1]);
  }
  return text;
}

class ScoresScreenTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    namespace fs = std::filesystem;
    fs::create_directory(dir.path() / "Data");
    fs::create_directory(dir.path() / "graphics");
    fs::create_directory(dir.path() / "Sound");
    ASSERT_EQ(StartKeyboard(), 1);
    ASSERT_EQ(StartScreenSystem(), 1);
    ASSERT_EQ(StartSoundSystem(), 1);
    ASSERT_EQ(OpenGameScreen(640, 480, 32, "Stakko", 0), 1);
    static const char* const months[13] = {"",    "JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                           "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (int m = 0; m < 13; ++m) G.MonthNames[m] = months[m];
    G.SlideSpeed = 0.05f;
    G.Level = 1;

    WritePicture("small.bmp", 320, 48, [](int x, int y) { return SmallGlyphPixel(y / 16 * 20 + x / 16 + 1); });
    WritePicture("large.bmp", 352, 128, [](int x, int y) {
      return y % 32 < 28 ? LargeGlyphPixel(y / 32 * 11 + x / 32 + 1) : 0u;
    });
    WritePicture("hs.bmp", 372, kHighscoreHeight, [](int, int) { return kHighscorePixel; });
    WritePicture("go.bmp", 360, kGameOverHeight, [](int, int) { return kGameOverPixel; });
    G.SmallFontSheet = LoadImageFile("graphics\\small.bmp");
    G.LargeFontSheet = LoadImageFile("graphics\\large.bmp");
    G.HighscoreImage = LoadImageFile("graphics\\hs.bmp");
    G.GameOverSprite = LoadSpriteFile("graphics\\go.bmp");
    LoadBitmapFonts();

    WriteWave("HighScore.wav");
    WriteWave("awwww.wav");
    G.HighScoreSound = LoadSoundFile("Sound\\HighScore.wav");
    G.MissSound = LoadSoundFile("Sound\\awwww.wav");
    platform::SetCalendarClockForTests(int64_t{2223115200});  // 12 June 2040, noon UTC
  }

  void TearDown() override {
    platform::SetCalendarClockForTests(std::nullopt);
    HeadlessTest::TearDown();
  }

  template <typename F>
  void WritePicture(const std::string& name, int w, int h, F pixel) {
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = pixel(x, y);
    ASSERT_TRUE(platform::WriteBitmap24((dir.path() / "graphics" / name).string(), pixels.data(), w, h));
  }

  // A short 8-bit mono PCM sound.
  void WriteWave(const std::string& name) {
    testwave::Bytes samples;
    for (uint32_t k = 0; k < 64; ++k) samples.push_back(static_cast<uint8_t>(128 + (k % 8) * 8));
    WriteBytes(dir.path() / "Sound" / name, testwave::Wave8(samples));
  }

  // A key pressed at ms and let go a little later.
  void Tap(int64_t ms, int key) {
    backend.KeyAt(ms, key, true);
    backend.KeyAt(ms + 30, key, false);
  }

  // Position of the first trace line ending with event, or -1.
  int TraceIndex(const std::string& event) const {
    for (size_t i = 0; i < backend.traceLines.size(); ++i) {
      const std::string& line = backend.traceLines[i];
      if (line.size() >= event.size() && line.compare(line.size() - event.size(), event.size(), event) == 0) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }
  int TraceCount(const std::string& event) const {
    int n = 0;
    for (const std::string& line : backend.traceLines) n += line.find(event) != std::string::npos ? 1 : 0;
    return n;
  }

  const Frame& LastFrame() const { return backend.lastFrame; }

  ScopedWorkDir dir;
};

}  // namespace scores_test
