// Images, sprites and drawing sessions on the back buffer: key rule, opaque
// copies, clipping, cutting, releasing and the order of composition.
#include <climits>

#include "tests/platform/picture_fixture.h"

namespace {
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGrey = 0x404040;
// A picture whose every pixel tells where it came from.
uint32_t Coded(int x, int y) { return 0x010000u * static_cast<uint32_t>(y % 200 + 1) + static_cast<uint32_t>(x + 1); }
}  // namespace

TEST_F(PictureTest, KeyedSpritesLeaveOutExactBlackOnly) {
  const SpriteId black = MakeSprite(20, 10, Solid(0));
  ASSERT_NE(black, 0);
  ClearBackBuffer(MakeColour(64, 64, 64));
  DisplaySpriteKeyed(black, 100, 100);
  EXPECT_EQ(CountNot(kGrey), 0);
  DisplaySpriteOpaque(black, 100, 100);
  EXPECT_EQ(CountNot(kGrey), 200);
  EXPECT_EQ(At(100, 100), 0u);
  EXPECT_EQ(At(119, 109), 0u);
  EXPECT_EQ(At(120, 109), kGrey);

  // Blue 1 is almost black, but not black: it is drawn.
  ClearBackBuffer(MakeColour(64, 64, 64));
  const SpriteId nearBlack = MakeSprite(2, 1, [](int x, int) { return x == 0 ? 0x000001u : 0u; });
  DisplaySpriteKeyed(nearBlack, 5, 5);
  EXPECT_EQ(At(5, 5), 0x000001u);
  EXPECT_EQ(At(6, 5), kGrey);
}

TEST_F(PictureTest, SpritesAreClippedToTheScreen) {
  const SpriteId wide = MakeSprite(300, 20, Coded);
  ASSERT_NE(wide, 0);
  ClearBackBuffer(MakeColour(64, 64, 64));
  DisplaySpriteKeyed(wide, -150, 100);
  EXPECT_EQ(At(0, 100), Coded(150, 0));
  EXPECT_EQ(At(149, 119), Coded(299, 19));
  EXPECT_EQ(At(150, 100), kGrey);
  EXPECT_EQ(At(0, 99), kGrey);
  EXPECT_EQ(CountNot(kGrey), 150 * 20);

  ClearBackBuffer(MakeColour(64, 64, 64));
  DisplaySpriteKeyed(wide, 640, 0);
  DisplaySpriteOpaque(wide, -300, 0);
  DisplaySpriteOpaque(wide, 0, 480);
  DisplaySpriteOpaque(wide, 0, -20);
  DisplaySpriteOpaque(wide, INT_MAX, INT_MAX);
  DisplaySpriteOpaque(wide, INT_MIN, INT_MIN);
  EXPECT_EQ(CountNot(kGrey), 0);

  // Each corner, partly off.
  DisplaySpriteOpaque(wide, 500, 470);
  EXPECT_EQ(At(639, 479), Coded(139, 9));
  DisplaySpriteOpaque(wide, -299, -19);
  EXPECT_EQ(At(0, 0), Coded(299, 19));
  EXPECT_EQ(CountNot(kGrey), 140 * 10 + 1);
}

TEST_F(PictureTest, SpritesNeedAKnownHandleAndAnOpenScreen) {
  const SpriteId s = MakeSprite(4, 4, Solid(kRed));
  ClearBackBuffer(0);
  DisplaySpriteOpaque(0, 0, 0);
  DisplaySpriteOpaque(s + 1, 0, 0);
  DisplaySpriteKeyed(-1, 0, 0);
  EXPECT_EQ(CountNot(0), 0);

  ReleaseAllSprites();
  DisplaySpriteOpaque(s, 0, 0);
  EXPECT_EQ(CountNot(0), 0);

  const SpriteId again = MakeSprite(4, 4, Solid(kRed));
  ASSERT_NE(again, 0);
  CloseGameScreen();  // releases every sprite
  DisplaySpriteOpaque(again, 0, 0);
  EXPECT_EQ(CountNot(0), 0);
  EXPECT_EQ(GrabScreenSprite(0, 0, 10, 10), 0);
  EXPECT_EQ(BeginScreenDrawing(), 0);
}

TEST_F(PictureTest, GrabbedSpriteHoldsTheFrame) {
  EXPECT_EQ(GrabScreenSprite(1, 0, 640, 480), 0);
  EXPECT_EQ(GrabScreenSprite(0, 1, 640, 480), 0);
  EXPECT_EQ(GrabScreenSprite(-1, 0, 10, 10), 0);
  EXPECT_EQ(GrabScreenSprite(0, 0, 0, 10), 0);
  EXPECT_EQ(GrabScreenSprite(0, 0, 10, -1), 0);
  EXPECT_EQ(GrabScreenSprite(INT_MAX, 0, INT_MAX, 1), 0);

  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) At(x, y) = Coded(x, y);
  FlipFrame();
  const SpriteId frame = GrabScreenSprite(0, 0, 640, 480);
  const SpriteId corner = GrabScreenSprite(630, 470, 10, 10);
  ASSERT_NE(frame, 0);
  ASSERT_NE(corner, 0);
  ClearBackBuffer(0);
  DisplaySpriteOpaque(frame, 0, 0);
  for (int y = 0; y < 480; y += 7)
    for (int x = 0; x < 640; x += 3) ASSERT_EQ(At(x, y), Coded(x, y));
  ClearBackBuffer(0);
  DisplaySpriteOpaque(corner, 0, 0);
  EXPECT_EQ(At(0, 0), Coded(630, 470));
  EXPECT_EQ(At(9, 9), Coded(639, 479));
  EXPECT_EQ(CountNot(0), 100);

  // A released still draws nothing, and the other sprite is untouched.
  ReleaseSprite(frame);
  ReleaseSprite(frame);  // twice is harmless
  ClearBackBuffer(0);
  DisplaySpriteOpaque(frame, 0, 0);
  EXPECT_EQ(CountNot(0), 0);
  DisplaySpriteOpaque(corner, 0, 0);
  EXPECT_EQ(At(9, 9), Coded(639, 479));
}

TEST_F(PictureTest, ImagesCopyEveryPixelInsideASession) {
  const ImageId img = MakeImage(3, 2, [](int x, int y) { return x == 1 && y == 0 ? 0u : kRed; });
  ASSERT_NE(img, 0);
  ClearBackBuffer(MakeColour(64, 64, 64));
  BlitImage(img, 10, 10);  // no session: nothing
  EXPECT_EQ(CountNot(kGrey), 0);

  ASSERT_NE(BeginScreenDrawing(), 0);
  BlitImage(img, 10, 10);
  BlitImage(0, 0, 0);
  BlitImage(img + 1, 0, 0);
  EndScreenDrawing();
  EXPECT_EQ(At(11, 10), 0u);  // black is drawn
  EXPECT_EQ(At(10, 10), kRed);
  EXPECT_EQ(At(12, 11), kRed);
  EXPECT_EQ(CountNot(kGrey), 6);

  // Under PaintInvert the image is combined by exclusive-or.
  ASSERT_NE(BeginScreenDrawing(), 0);
  SetPaintMode(PaintInvert);
  BlitImage(img, 10, 10);
  EndScreenDrawing();
  EXPECT_EQ(At(10, 10), 0u);
  EXPECT_EQ(At(11, 10), 0u);
  EXPECT_EQ(At(12, 10), 0u);

  // Clipped at every edge, and far off.
  const ImageId big = MakeImage(50, 40, Coded);
  ClearBackBuffer(0);
  ASSERT_NE(BeginScreenDrawing(), 0);
  BlitImage(big, -10, -5);
  BlitImage(big, 600, 450);
  BlitImage(big, INT_MIN, 0);
  BlitImage(big, 0, INT_MAX);
  BlitImage(big, INT_MAX - 10, INT_MAX - 10);
  EndScreenDrawing();
  EXPECT_EQ(At(0, 0), Coded(10, 5));
  EXPECT_EQ(At(639, 479), Coded(39, 29));
  EXPECT_EQ(CountNot(0), 40 * 35 + 40 * 30);
}

TEST_F(PictureTest, CutImagesAndWhatRunsOffTheSource) {
  const ImageId sheet = MakeImage(8, 6, Coded);
  ASSERT_NE(sheet, 0);
  const ImageId inside = CutImage(sheet, 2, 1, 3, 2);
  const ImageId across = CutImage(sheet, 6, -1, 4, 3);  // runs off right and top
  const ImageId outside = CutImage(sheet, 100, 100, 2, 2);
  ASSERT_NE(inside, 0);
  ASSERT_NE(across, 0);
  ASSERT_NE(outside, 0);
  EXPECT_EQ(CutImage(sheet, 0, 0, 0, 1), 0);
  EXPECT_EQ(CutImage(sheet, 0, 0, 1, -1), 0);
  EXPECT_EQ(CutImage(sheet, 0, 0, 100000, 1), 0);
  EXPECT_EQ(CutImage(sheet, 0, 0, 16384, 16384), 0);
  EXPECT_EQ(CutImage(0, 0, 0, 1, 1), 0);
  EXPECT_EQ(CutImage(sheet + 7, 0, 0, 1, 1), 0);
  EXPECT_NE(CutImage(sheet, INT_MAX, INT_MIN, 1, 1), 0);

  ClearBackBuffer(MakeColour(64, 64, 64));
  ASSERT_NE(BeginScreenDrawing(), 0);
  BlitImage(inside, 0, 0);
  BlitImage(across, 10, 0);
  BlitImage(outside, 20, 0);
  EndScreenDrawing();
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(At(x, y), Coded(2 + x, 1 + y));
  EXPECT_EQ(At(10, 0), 0u);  // above the source
  EXPECT_EQ(At(10, 1), Coded(6, 0));
  EXPECT_EQ(At(11, 2), Coded(7, 1));
  EXPECT_EQ(At(12, 1), 0u);  // right of the source
  EXPECT_EQ(At(13, 2), 0u);
  EXPECT_EQ(At(20, 0), 0u);
  EXPECT_EQ(At(21, 1), 0u);

  // A cut of a cut.
  const ImageId inner = CutImage(across, 0, 1, 1, 1);
  ClearBackBuffer(0);
  ASSERT_NE(BeginScreenDrawing(), 0);
  BlitImage(inner, 5, 5);
  EndScreenDrawing();
  EXPECT_EQ(At(5, 5), Coded(6, 0));
}

TEST_F(PictureTest, ReleasedImagesDrawNothing) {
  const ImageId a = MakeImage(2, 2, Solid(kRed));
  const ImageId b = MakeImage(2, 2, Solid(kRed));
  ReleaseImage(a);
  ReleaseImage(a);   // twice: ignored
  ReleaseImage(0);   // unknown: ignored
  ReleaseImage(12345);
  // The slot is reused, but the old handle stays unknown.
  const ImageId c = CutImage(b, 0, 0, 1, 1);
  ASSERT_NE(c, 0);
  EXPECT_NE(c, a);
  ClearBackBuffer(0);
  ASSERT_NE(BeginScreenDrawing(), 0);
  BlitImage(a, 0, 0);
  EndScreenDrawing();
  EXPECT_EQ(CountNot(0), 0);

  ReleaseImage(-1);
  EXPECT_EQ(CutImage(b, 0, 0, 1, 1), 0);
  ASSERT_NE(BeginScreenDrawing(), 0);
  BlitImage(b, 0, 0);
  BlitImage(c, 0, 0);
  EndScreenDrawing();
  EXPECT_EQ(CountNot(0), 0);
}

TEST_F(PictureTest, TitleWaveRowsRecycleWithoutMixingUp) {
  const ImageId title = MakeImage(640, 480, Coded);
  ASSERT_NE(title, 0);
  for (int frame = 0; frame < 3; ++frame) {
    ClearBackBuffer(0);
    for (int row = 0; row < 480; ++row) {
      const ImageId line = CutImage(title, 0, row, 640, 1);
      ASSERT_NE(line, 0);
      ASSERT_NE(BeginScreenDrawing(), 0);
      BlitImage(line, (row + frame) % 7 - 3, row);
      EndScreenDrawing();
      ReleaseImage(line);
    }
    for (int row = 0; row < 480; row += 37) {
      const int shift = (row + frame) % 7 - 3;
      EXPECT_EQ(At(100, row), Coded(100 - shift, row)) << frame << " " << row;
    }
  }
}

TEST_F(PictureTest, SessionsOpenOneAtATimeAndStartFresh) {
  EndScreenDrawing();  // without a session: nothing happens
  ASSERT_NE(BeginScreenDrawing(), 0);
  EXPECT_EQ(BeginScreenDrawing(), 0);  // no nesting; the open one stays
  SetPenColour(MakeColour(255, 0, 0));
  SetTextBackColour(MakeColour(0, 0, 255));
  SetPaintMode(PaintInvert | PaintOutline | PaintTransparentText);
  EndScreenDrawing();
  EndScreenDrawing();

  ClearBackBuffer(MakeColour(64, 64, 64));
  ASSERT_NE(BeginScreenDrawing(), 0);
  FillBox(0, 0, 3, 3);       // white, filled, not inverted
  DrawTextAt(10, 0, " ");    // opaque black cell
  EndScreenDrawing();
  EXPECT_EQ(At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(At(1, 1), 0xFFFFFFu);
  EXPECT_EQ(At(10, 0), 0u);
  EXPECT_EQ(At(16, 15), 0u);
}

TEST_F(PictureTest, LaterCallsCoverEarlierOnes) {
  const SpriteId red = MakeSprite(4, 4, Solid(kRed));
  const ImageId blue = MakeImage(4, 4, Solid(0x0000FF));
  ClearBackBuffer(0);
  DisplaySpriteKeyed(red, 0, 0);
  ASSERT_NE(BeginScreenDrawing(), 0);
  BlitImage(blue, 2, 0);
  EndScreenDrawing();
  DisplaySpriteOpaque(red, 4, 0);
  EXPECT_EQ(At(1, 0), kRed);
  EXPECT_EQ(At(2, 0), 0x0000FFu);
  EXPECT_EQ(At(3, 0), 0x0000FFu);
  EXPECT_EQ(At(4, 0), kRed);
  FlipFrame();
  EXPECT_EQ(backend.LastFramePixel(2, 0), MakeColour(0, 0, 255));
}

TEST_F(PictureTest, CutsOutliveTheirReleasedSource) {
  const ImageId sheet = MakeImage(64, 32, Coded);
  const ImageId cell = CutImage(sheet, 32, 0, 32, 32);   // shares the sheet's pixels
  const ImageId corner = CutImage(cell, 30, 30, 2, 2);   // and so does a cut of it
  const ImageId padded = CutImage(sheet, 60, 30, 8, 8);  // runs off: a copy
  ASSERT_NE(cell, 0);
  ASSERT_NE(corner, 0);
  ReleaseImage(sheet);
  EXPECT_EQ(CutImage(sheet, 0, 0, 1, 1), 0);
  // New pictures must not land on the sheet's pixels while cuts still show them.
  const ImageId other = MakeImage(64, 32, Solid(kRed));
  ASSERT_NE(other, 0);
  ClearBackBuffer(0);
  ASSERT_NE(BeginScreenDrawing(), 0);
  BlitImage(cell, 0, 0);
  BlitImage(corner, 100, 0);
  BlitImage(padded, 200, 0);
  EndScreenDrawing();
  EXPECT_EQ(At(0, 0), Coded(32, 0));
  EXPECT_EQ(At(31, 31), Coded(63, 31));
  EXPECT_EQ(At(100, 0), Coded(62, 30));
  EXPECT_EQ(At(201, 1), Coded(61, 31));
  EXPECT_EQ(At(204, 0), 0u);

  ReleaseImage(cell);
  ClearBackBuffer(0);
  ASSERT_NE(BeginScreenDrawing(), 0);
  BlitImage(corner, 0, 0);
  BlitImage(cell, 10, 10);
  EndScreenDrawing();
  EXPECT_EQ(At(1, 1), Coded(63, 31));
  EXPECT_EQ(CountNot(0), 4);
  ReleaseImage(corner);
  ReleaseImage(-1);
  // Everything is gone and the slots serve again.
  const ImageId fresh = MakeImage(2, 2, Solid(kRed));
  ASSERT_NE(fresh, 0);
  EXPECT_NE(CutImage(fresh, 0, 0, 2, 2), 0);
}
