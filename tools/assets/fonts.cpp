// The two glyph sheets the game cuts its bitmap fonts from.
#include <string_view>

#include "tools/assets/glyphs.h"
#include "tools/assets/lettering.h"
#include "tools/assets/pictures.h"

namespace art {

namespace {

constexpr std::string_view kLargeCharset = "#0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-._ ";
constexpr std::string_view kSmallCharset = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-!@#$%^&*()<>,.\\/?=+[]` ";

// The large glyphs sit on a dark enamel plate that runs on from cell to
// cell, so a caption reads as one label on the light play-screen greys as
// well as on black.
Rgb PlateRow(int y) {
  if (y == 0) return {104, 108, 188};
  if (y == 1) return {66, 68, 132};
  if (y >= 26) return y == 26 ? Rgb{16, 16, 40} : Rgb{10, 10, 26};
  return Mix({44, 44, 96}, {24, 24, 60}, (y - 2) / 23.0);
}

}  // namespace

Canvas LargeFontSheet() {
  constexpr int kCols = 11, kRows = 4, kPitch = 32, kGlyphH = 28;
  Canvas sheet(kCols * kPitch, kRows * kPitch);
  const Pen pen{4.0, 3.0, 2.0, 1.6};
  for (int cell = 0; cell < kCols * kRows; ++cell) {
    const int cx = (cell % kCols) * kPitch;
    const int cy = (cell / kCols) * kPitch;
    for (int y = 0; y < kGlyphH; ++y)
      for (int x = 0; x < kPitch; ++x) sheet.Set(cx + x, cy + y, PlateRow(y));
    if (cell >= static_cast<int>(kLargeCharset.size())) continue;
    // Each glyph is painted on its own plate, then copied into place.
    Canvas glyph = sheet.Crop(cx, cy, kPitch, kGlyphH);
    Mask ink(kPitch, kGlyphH);
    StampGlyph(ink, kLargeCharset[static_cast<size_t>(cell)], 5, 3, pen);
    LetterStyle style = GoldLettering(3, 3 + GlyphHeight(pen));
    style.bevelWidth = 1.2;
    style.bevelLight = 0.5;
    style.shadow = {8, 8, 22};
    style.shadowX = 1;
    style.shadowY = 1;
    PaintLettering(glyph, ink, style);
    sheet.Blit(glyph, cx, cy);
  }
  return sheet;
}

Canvas SmallFontSheet() {
  constexpr int kCols = 20, kRows = 3, kPitch = 16;
  Canvas sheet(kCols * kPitch, kRows * kPitch);
  const Pen pen{2.0, 2.0, 1.0, 1.0};
  for (int cell = 0; cell < kCols * kRows; ++cell) {
    const int cx = (cell % kCols) * kPitch;
    const int cy = (cell / kCols) * kPitch;
    if (cell >= static_cast<int>(kSmallCharset.size())) continue;
    Canvas glyph(kPitch, kPitch);
    Mask ink(kPitch, kPitch);
    StampGlyph(ink, kSmallCharset[static_cast<size_t>(cell)], 2, 1, pen);
    LetterStyle style;
    style.fill = {{255, 255, 255}, {214, 232, 255}, {150, 196, 255}};
    style.fillTop = 1;
    style.fillBottom = 15;
    style.shadow = {34, 52, 140};
    style.shadowX = 1;
    style.shadowY = 1;
    PaintLettering(glyph, ink, style);
    sheet.Blit(glyph, cx, cy);
  }
  return sheet;
}

}  // namespace art
