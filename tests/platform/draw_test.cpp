// Boxes, lines and system-font text, exact to the pixel.
#include <algorithm>
#include <climits>
#include <set>

#include "platform/system_font.h"
#include "tests/platform/picture_fixture.h"

namespace {
constexpr uint32_t kGrey = 0x404040;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xFF0000;
}  // namespace

class DrawTest : public PictureTest {
 protected:
  void SetUp() override {
    PictureTest::SetUp();
    ClearBackBuffer(MakeColour(64, 64, 64));
    ASSERT_NE(BeginScreenDrawing(), 0);
  }
  void TearDown() override {
    EndScreenDrawing();
    PictureTest::TearDown();
  }
  // The pixels that differ from the grey background.
  static std::set<std::pair<int, int>> Drawn() {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        if (At(x, y) != kGrey) out.insert({x, y});
    return out;
  }
  static std::set<std::pair<int, int>> Box(int x0, int y0, int x1, int y1) {
    std::set<std::pair<int, int>> out;
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) out.insert({x, y});
    return out;
  }
  using Pixels = std::set<std::pair<int, int>>;
};

TEST_F(DrawTest, FillBoxOnePixelRule) {
  FillBox(10, 10, 1, 1);
  EXPECT_EQ(Drawn(), (Pixels{{10, 10}}));
  EXPECT_EQ(At(10, 10), kWhite);
  ClearBackBuffer(MakeColour(64, 64, 64));
  FillBox(10, 10, -1, 1);
  FillBox(20, 20, 1, -1);
  FillBox(30, 30, -1, -1);
  EXPECT_EQ(Drawn(), (Pixels{{9, 10}, {20, 19}, {29, 29}}));

  // The single pixel takes the pen colour even under PaintInvert.
  ClearBackBuffer(MakeColour(64, 64, 64));
  SetPenColour(MakeColour(255, 0, 0));
  SetPaintMode(PaintInvert | PaintOutline);
  FillBox(5, 5, 1, 1);
  EXPECT_EQ(At(5, 5), kRed);
}

TEST_F(DrawTest, FillBoxCoversFromCornerToCorner) {
  FillBox(10, 10, 2, 2);
  EXPECT_EQ(Drawn(), Box(10, 10, 11, 11));
  ClearBackBuffer(MakeColour(64, 64, 64));
  FillBox(10, 10, -3, -2);  // corners (10,10) and (7,8)
  EXPECT_EQ(Drawn(), Box(7, 8, 9, 9));
  ClearBackBuffer(MakeColour(64, 64, 64));
  FillBox(10, 10, 1, 5);  // a one-pixel-wide column
  FillBox(20, 10, -1, 3);
  EXPECT_EQ(Drawn().size(), 8u);
  EXPECT_EQ(At(10, 14), kWhite);
  EXPECT_EQ(At(19, 12), kWhite);
  ClearBackBuffer(MakeColour(64, 64, 64));
  FillBox(10, 10, 0, 5);
  FillBox(10, 10, 5, 0);
  EXPECT_TRUE(Drawn().empty());

  // Clipped, however far off.
  FillBox(-5, -5, 10, 10);
  FillBox(635, 475, INT_MAX, INT_MAX);
  FillBox(INT_MAX, INT_MAX, INT_MIN, INT_MIN);  // corners far apart: covers the screen
  EXPECT_EQ(CountNot(kWhite), 0);
}

TEST_F(DrawTest, OutlineAndInvertModes) {
  SetPenColour(MakeColour(255, 0, 0));
  SetPaintMode(PaintOutline);
  FillBox(10, 10, 4, 3);
  Pixels border = Box(10, 10, 13, 12);
  border.erase({11, 11});
  border.erase({12, 11});
  EXPECT_EQ(Drawn(), border);
  EXPECT_EQ(At(10, 12), kRed);

  // Inverted outline: every border pixel flipped exactly once.
  ClearBackBuffer(MakeColour(64, 64, 64));
  SetPaintMode(PaintOutline | PaintInvert);
  FillBox(10, 10, 4, 3);
  EXPECT_EQ(Drawn(), border);
  EXPECT_EQ(At(10, 10), 0xBFBFBFu);
  EXPECT_EQ(At(13, 12), 0xBFBFBFu);

  ClearBackBuffer(MakeColour(64, 64, 64));
  SetPaintMode(PaintInvert);
  FillBox(10, 10, 4, 3);
  EXPECT_EQ(Drawn(), Box(10, 10, 13, 12));
  EXPECT_EQ(At(11, 11), 0xBFBFBFu);
  FillBox(10, 10, 4, 3);  // twice restores
  EXPECT_TRUE(Drawn().empty());

  // Outline clipped at the edge keeps only its visible sides.
  SetPaintMode(PaintOutline);
  FillBox(-2, -2, 5, 5);
  EXPECT_EQ(Drawn(), (Pixels{{2, 0}, {2, 1}, {2, 2}, {0, 2}, {1, 2}}));
}

TEST_F(DrawTest, LinesIncludeBothEnds) {
  DrawLine(5, 5, 0, 10);
  DrawLine(5, 5, 10, 0);
  EXPECT_TRUE(Drawn().empty());
  DrawLine(5, 5, 1, 10);
  EXPECT_EQ(Drawn(), Box(5, 5, 5, 14));
  ClearBackBuffer(MakeColour(64, 64, 64));
  DrawLine(5, 5, 10, 1);
  EXPECT_EQ(Drawn(), Box(5, 5, 14, 5));
  ClearBackBuffer(MakeColour(64, 64, 64));
  DrawLine(20, 20, -3, 1);
  DrawLine(30, 30, 1, -2);
  DrawLine(40, 40, 1, 1);
  EXPECT_EQ(Drawn(), (Pixels{{18, 20}, {19, 20}, {20, 20}, {30, 29}, {30, 30}, {40, 40}}));
  ClearBackBuffer(MakeColour(64, 64, 64));
  DrawLine(0, 0, 4, 4);
  DrawLine(10, 0, -3, 5);  // (10,0) to (8,4)
  EXPECT_EQ(Drawn(), (Pixels{{0, 0}, {1, 1}, {2, 2}, {3, 3},
                             {10, 0}, {9, 1}, {9, 2}, {8, 3}, {8, 4}}));
}

TEST_F(DrawTest, LinesInvertButTheirEndTakesThePen) {
  SetPaintMode(PaintInvert);
  DrawLine(5, 5, 3, 1);
  EXPECT_EQ(At(5, 5), 0xBFBFBFu);
  EXPECT_EQ(At(6, 5), 0xBFBFBFu);
  EXPECT_EQ(At(7, 5), kWhite);
}

TEST_F(DrawTest, LinesOfAnyLengthAreClipped) {
  DrawLine(-1000000, 5, INT_MAX, 1);
  DrawLine(3, -1000000, 1, INT_MAX);
  DrawLine(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
  DrawLine(INT_MIN, 0, INT_MAX, INT_MAX);
  EXPECT_EQ(At(0, 5), kWhite);
  EXPECT_EQ(At(639, 5), kWhite);
  EXPECT_EQ(At(3, 0), kWhite);
  EXPECT_EQ(At(3, 479), kWhite);
}

TEST_F(DrawTest, TextOnOpaqueCellsOrTransparent) {
  ClearBackBuffer(MakeColour(255, 0, 0));
  SetPenColour(MakeColour(255, 255, 255));
  SetPaintMode(PaintInvert);  // how the play screen draws its numbers
  const int end = DrawTextAt(100, 50, "1234567890");
  EXPECT_EQ(end, 100 + MeasureTextWidth("1234567890"));
  const int w = MeasureTextWidth("1234567890");
  const int h = platform::kSystemFontCellHeight;
  int white = 0;
  for (int y = 50; y < 50 + h; ++y)
    for (int x = 100; x < 100 + w; ++x) {
      ASSERT_TRUE(At(x, y) == kWhite || At(x, y) == 0u) << x << "," << y;
      white += At(x, y) == kWhite;
    }
  EXPECT_GT(white, 10 * 10);
  EXPECT_EQ(CountNot(kRed), w * h);

  // Transparent: only the strokes change; the same pixels turn white.
  ClearBackBuffer(MakeColour(255, 0, 0));
  SetPaintMode(PaintTransparentText);
  DrawTextAt(100, 50, "1234567890");
  EXPECT_EQ(CountNot(kRed), white);

  ClearBackBuffer(MakeColour(255, 0, 0));
  EXPECT_EQ(DrawTextAt(7, 9, ""), 7);
  EXPECT_EQ(MeasureTextWidth(""), 0);
  EXPECT_EQ(CountNot(kRed), 0);
}

TEST_F(DrawTest, TextColoursAndClipping) {
  SetPenColour(MakeColour(0, 0, 255));
  SetTextBackColour(MakeColour(0, 255, 0));
  DrawTextAt(0, 0, "H");
  int blue = 0;
  int green = 0;
  const int cw = platform::kSystemFontCellWidth;
  const int ch = platform::kSystemFontCellHeight;
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw; ++x) {
      blue += At(x, y) == 0x0000FFu;
      green += At(x, y) == 0x00FF00u;
    }
  EXPECT_GT(blue, 0);
  EXPECT_EQ(blue + green, cw * ch);

  EXPECT_EQ(DrawTextAt(-20, -8, "Clipped text"), -20 + MeasureTextWidth("Clipped text"));
  EXPECT_EQ(DrawTextAt(630, 470, "Clipped text"), 630 + MeasureTextWidth("Clipped text"));
  EXPECT_EQ(DrawTextAt(INT_MAX - 3, INT_MIN, "xyz"), INT_MAX);
  DrawTextAt(INT_MIN, 0, "xyz");
}

TEST(SystemFont, EveryPrintableCharacterIsDistinctAndFitsItsCell) {
  const int cw = platform::kSystemFontCellWidth;
  const int ch = platform::kSystemFontCellHeight;
  // Everything outside the glyph's own columns: the cell's first and last
  // columns keep neighbours apart.
  const unsigned outside = 0x8000u | (0xFFFFu >> (cw - 1));
  std::set<std::vector<uint16_t>> seen;
  for (int c = 33; c <= 126; ++c) {
    const uint16_t* g = platform::SystemFontGlyph(static_cast<unsigned char>(c));
    std::vector<uint16_t> rows(g, g + ch);
    int ink = 0;
    for (size_t r = 0; r < rows.size(); ++r) {
      ink += __builtin_popcount(rows[r]);
      EXPECT_EQ(rows[r] & outside, 0u) << static_cast<char>(c);
      // A clear row above and below keeps lines apart.
      if (r == 0 || r + 1 == rows.size()) {
        EXPECT_EQ(rows[r], 0u) << static_cast<char>(c) << " row " << r;
      }
    }
    EXPECT_GT(ink, 0) << static_cast<char>(c);
    EXPECT_TRUE(seen.insert(rows).second) << "duplicate " << static_cast<char>(c);
  }
  const uint16_t* space = platform::SystemFontGlyph(' ');
  for (int r = 0; r < ch; ++r) EXPECT_EQ(space[r], 0);
  EXPECT_EQ(MeasureTextWidth("Loading Graphics"), 16 * cw);
}

// The play-screen numbers must read at a glance: bold figures 12 pixels tall
// whose strokes are never a lone pixel wide (only the zero's slash may be),
// and a zero, a one and an l that differ from O, I and l by whole strokes.
TEST(SystemFont, FiguresAreBoldAndTall) {
  const int ch = platform::kSystemFontCellHeight;
  for (char c = '0'; c <= '9'; ++c) {
    const uint16_t* g = platform::SystemFontGlyph(static_cast<unsigned char>(c));
    int top = ch;
    int bottom = -1;
    for (int r = 0; r < ch; ++r) {
      if (g[r] == 0) continue;
      top = std::min(top, r);
      bottom = r;
      const unsigned bits = g[r];
      // A lone pixel: set, with both neighbours clear.
      const unsigned lone = bits & ~(bits << 1) & ~(bits >> 1);
      if (c != '0') {
        EXPECT_EQ(lone, 0u) << c << " row " << r;
      }
    }
    EXPECT_EQ(bottom - top + 1, 12) << c;
  }
  auto differ = [](char a, char b) {
    const uint16_t* ga = platform::SystemFontGlyph(static_cast<unsigned char>(a));
    const uint16_t* gb = platform::SystemFontGlyph(static_cast<unsigned char>(b));
    int pixels = 0;
    for (int r = 0; r < platform::kSystemFontCellHeight; ++r) pixels += __builtin_popcount(ga[r] ^ gb[r]);
    return pixels;
  };
  EXPECT_GE(differ('0', 'O'), 8);
  EXPECT_GE(differ('1', 'l'), 8);
  EXPECT_GE(differ('1', 'I'), 8);
}

TEST_F(PictureTest, DrawingWithoutASessionDoesNothing) {
  ClearBackBuffer(0);
  SetPenColour(MakeColour(255, 0, 0));
  FillBox(0, 0, 10, 10);
  DrawLine(0, 0, 10, 1);
  EXPECT_EQ(DrawTextAt(0, 0, "abc"), 0);
  EXPECT_EQ(CountNot(0), 0);
}
