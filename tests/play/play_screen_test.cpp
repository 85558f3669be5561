// The play picture (background, panel, well, piece, next piece, banner)
// and the bitmap-font captions it is written with.
#include <gtest/gtest.h>

#include <string>

#include "play/board.h"
#include "play/play.h"
#include "play/play_screen.h"
#include "platform/draw.h"
#include "platform/image.h"
#include "platform/internal/back_buffer.h"
#include "platform/screen.h"
#include "scores/bitmap_font.h"
#include "tests/play/play_fixture.h"

using playtest::JewelColour;
using playtest::LargeGlyphColour;
using playtest::SmallGlyphColour;

namespace {

const std::string kLargeSet = "#0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-._ ";
const std::string kSmallSet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-!@#$%^&*()<>,.\\/?=+[]` ";

Colour Large(char c) { return LargeGlyphColour(static_cast<int>(kLargeSet.find(c)) + 1); }
Colour Small(char c) { return SmallGlyphColour(static_cast<int>(kSmallSet.find(c)) + 1); }
Colour Grey(int g) { return MakeColour(g, g, g); }

Colour BackPixel(int x, int y) { return platform::PixelToColour(platform::BackBufferPixels()[y * 640 + x]); }

class PlayScreen : public PlayTest {
 protected:
  // Draws one play picture and puts it on screen.
  void Show() {
    DrawPlayScreen();
    FlipFrame();
  }

  // The value as the panel writes it, drawn alone on the level-1 grey.
  std::vector<uint32_t> ExpectedNumber(int x, int y, const std::string& text) {
    ClearBackBuffer(Grey(235));
    BeginScreenDrawing();
    SetPenColour(MakeColour(255, 255, 255));
    SetPaintMode(PaintInvert);
    DrawTextAt(x, y, text);
    EndScreenDrawing();
    return Box(platform::BackBufferPixels(), x, y);
  }

  static std::vector<uint32_t> Box(const uint32_t* pixels, int x, int y) {
    std::vector<uint32_t> box;
    for (int row = y; row < y + 20; ++row)
      for (int col = x; col < x + 80; ++col) box.push_back(pixels[row * 640 + col]);
    return box;
  }
};

}  // namespace

TEST_F(PlayScreen, BackgroundDarkensWithTheLevelToBlackFromLevel13) {
  const std::pair<int, int> shades[] = {{1, 235}, {5, 155}, {12, 15}, {13, 0}, {40, 0}};
  for (auto [level, grey] : shades) {
    G.Level = level;
    Show();
    EXPECT_EQ(Pixel(10, 400), Grey(grey)) << "level " << level;
    EXPECT_EQ(Pixel(630, 470), Grey(grey)) << "level " << level;
  }
}

TEST_F(PlayScreen, CaptionsAndTheStartingPanelValuesStandWhereTheyBelong) {
  G.Score = 0;
  G.Level = 1;
  G.Stones = 0;
  G.ToGo = 30;
  Show();
  const std::vector<uint32_t> shown(backend.lastFrame);
  // Captions: first and last letters, glyphs 28 pixels high.
  EXPECT_EQ(Pixel(425, 55), Large('S'));
  EXPECT_EQ(Pixel(420 + 4 * 32 + 5, 55), Large('E'));
  EXPECT_EQ(Pixel(425, 50 + 27), Large('S'));
  EXPECT_EQ(Pixel(425, 50 + 28), Grey(235));
  EXPECT_EQ(Pixel(425, 155), Large('L'));
  EXPECT_EQ(Pixel(425, 255), Large('S'));
  EXPECT_EQ(Pixel(420 + 4 * 32 + 5, 255), Large('E'));
  EXPECT_EQ(Pixel(425, 355), Large('T'));
  EXPECT_EQ(Pixel(420 + 2 * 32 + 5, 355), Large(' '));
  EXPECT_EQ(Pixel(420 + 4 * 32 + 5, 355), Large('O'));
  EXPECT_EQ(Pixel(55, 55), Large('N'));
  EXPECT_EQ(Pixel(50 + 3 * 32 + 5, 55), Large('T'));
  // No banner.
  EXPECT_EQ(Pixel(55, 185), Grey(235));

  // The values in white on black cells, as DrawTextAt writes them.
  const struct {
    int y;
    const char* text;
  } values[] = {{80, "0"}, {180, "1"}, {280, "0"}, {380, "30"}};
  for (const auto& v : values) {
    EXPECT_EQ(Box(shown.data(), 450, v.y), ExpectedNumber(450, v.y, v.text)) << v.text;
  }
  // A different value is told apart.
  EXPECT_NE(Box(shown.data(), 450, 380), ExpectedNumber(450, 380, "31"));
}

TEST_F(PlayScreen, TheBannerShowsASecondLevelAndLastsUntilItsTimeHasPassed) {
  G.LevelBanner = 1;
  G.LevelBannerTime = static_cast<int32_t>(backend.NowMs()) + 5000;
  Show();
  // "LEVEL" twice: in the panel and in the banner, "UP" below it.
  EXPECT_EQ(Pixel(425, 155), Large('L'));
  EXPECT_EQ(Pixel(55, 185), Large('L'));
  EXPECT_EQ(Pixel(50 + 4 * 32 + 5, 185), Large('L'));
  EXPECT_EQ(Pixel(75, 235), Large('U'));
  EXPECT_EQ(Pixel(70 + 32 + 5, 235), Large('P'));
  EXPECT_EQ(G.LevelBanner, 1);

  backend.now += 5'001'000;  // past its end: drawn once more, then over
  Show();
  EXPECT_EQ(Pixel(55, 185), Large('L'));
  EXPECT_EQ(G.LevelBanner, 0);
  Show();
  EXPECT_EQ(Pixel(55, 185), Grey(235));
}

TEST_F(PlayScreen, WellPieceAndNextPieceAreDrawnAtTheirCellsAndRowZeroNever) {
  SetBoard({"1.....", ".....6"});
  G.Board[0][0] = 5;  // above the well: never drawn
  SetPiece(1, 2, 3);
  G.NextPiece[0] = 4;
  G.NextPiece[1] = 5;
  G.NextPiece[2] = 6;
  Show();
  EXPECT_EQ(Pixel(224, 55 + 32 * 11), JewelColour(1));
  EXPECT_EQ(Pixel(224 + 31, 55 + 32 * 11 + 31), JewelColour(1));
  EXPECT_EQ(Pixel(224 + 5 * 32 + 31, 470), JewelColour(6));
  EXPECT_EQ(Pixel(300, 300), JewelColour(0));  // empty cells show the tile
  EXPECT_EQ(Pixel(224, 87), JewelColour(0));   // the first visible row
  EXPECT_EQ(Pixel(230, 60), Grey(235));        // row 0
  EXPECT_EQ(Pixel(223, 300), Grey(235));
  EXPECT_EQ(Pixel(416, 300), Grey(235));
  // The next piece just left of the well.
  EXPECT_EQ(Pixel(188, 58), JewelColour(4));
  EXPECT_EQ(Pixel(219, 58 + 32 + 5), JewelColour(5));
  EXPECT_EQ(Pixel(200, 58 + 64 + 31), JewelColour(6));
  EXPECT_EQ(Pixel(200, 57), Grey(235));
  // The piece at spawn: its bottom jewel on y 55 to 86, its top one cut off
  // by the screen's edge.
  EXPECT_EQ(Pixel(320, 55), JewelColour(3));
  EXPECT_EQ(Pixel(351, 86), JewelColour(3));
  EXPECT_EQ(Pixel(330, 0), JewelColour(1));
  EXPECT_EQ(Pixel(330, 40), JewelColour(2));
}

TEST_F(PlayScreen, PiecePositionsHalfwayBetweenPixelsRoundToEven) {
  SetPiece(1, 2, 3);
  const struct {
    float y;
    int firstRowOfBottom;
  } cases[] = {{-8.5f, 56}, {-7.5f, 56}, {-6.5f, 58}, {-6.4f, 58}, {-6.6f, 57}};
  for (const auto& c : cases) {
    G.PieceY = c.y;
    Show();
    EXPECT_EQ(Pixel(330, c.firstRowOfBottom - 1), JewelColour(2)) << c.y;
    EXPECT_EQ(Pixel(330, c.firstRowOfBottom), JewelColour(3)) << c.y;
  }
}

TEST_F(PlayScreen, BitmapTextCutsEachGlyphFromItsCellAndSkipsUnknownCharacters) {
  const struct {
    const BitmapFont& font;
    char c;
    Colour colour;
  } glyphs[] = {
      {G.LargeFont, '#', LargeGlyphColour(1)},   {G.LargeFont, 'Z', LargeGlyphColour(37)},
      {G.LargeFont, ' ', LargeGlyphColour(41)},  {G.LargeFont, '_', LargeGlyphColour(40)},
      {G.SmallFont, 'Z', SmallGlyphColour(26)},  {G.SmallFont, '\\', SmallGlyphColour(52)},
      {G.SmallFont, '`', SmallGlyphColour(59)},  {G.SmallFont, ' ', SmallGlyphColour(60)},
      {G.SmallFont, 'A', SmallGlyphColour(1)},
  };
  for (const auto& g : glyphs) {
    ClearBackBuffer(Grey(1));
    DrawBitmapText(g.font, std::string(1, g.c), 0, 0);
    EXPECT_EQ(BackPixel(0, 0), g.colour) << g.c;
    EXPECT_EQ(BackPixel(g.font.advance - 1, 0), g.colour) << g.c;
    EXPECT_EQ(BackPixel(g.font.advance, 0), Grey(1)) << g.c;
  }
  // Large glyphs are 28 high: the sheet's gap below them is not cut.
  ClearBackBuffer(Grey(1));
  DrawBitmapText(G.LargeFont, "#", 0, 0);
  EXPECT_EQ(BackPixel(5, 27), LargeGlyphColour(1));
  EXPECT_EQ(BackPixel(5, 28), Grey(1));

  // "b" is not in the set and takes no room.
  ClearBackBuffer(Grey(1));
  DrawBitmapText(G.SmallFont, "AbC", 0, 0);
  EXPECT_EQ(BackPixel(5, 5), Small('A'));
  EXPECT_EQ(BackPixel(16 + 5, 5), Small('C'));
  EXPECT_EQ(BackPixel(32 + 5, 5), Grey(1));
  // Lower case and the empty string draw nothing at all.
  ClearBackBuffer(Grey(1));
  DrawBitmapText(G.LargeFont, "abc", 10, 10);
  DrawBitmapText(G.SmallFont, "", 10, 10);
  DrawBitmapText(G.SmallFont, ":;\"'_", 10, 10);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 100; ++x) ASSERT_EQ(BackPixel(x, y), Grey(1)) << x << "," << y;
  // Past the right edge: drawn as far as the screen goes.
  DrawBitmapText(G.LargeFont, "ZZ", 620, 100);
  EXPECT_EQ(BackPixel(639, 100), Large('Z'));
}
