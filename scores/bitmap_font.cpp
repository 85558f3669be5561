#include "scores/bitmap_font.h"

#include <iterator>

#include "flow/globals.h"
#include "platform/image.h"

namespace {

struct FontLayout {
  const char* charset;
  int glyphCount;  // cut from the sheet; may exceed the charset
  int across;      // cells per sheet row
  int pitch;       // distance between cells, both ways
  int width;
  int height;
  int advance;
};

// Large glyphs are 28 high on a 32-pixel pitch: the bottom of each band is
// unused. Glyphs 42 to 44 are cut although no character names them.
constexpr FontLayout kLarge = {"#0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-._ ", 44, 11, 32, 32, 28, 32};
constexpr FontLayout kSmall = {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-!@#$%^&*()<>,.\\/?=+[]` ", 60, 20, 16, 16, 16,
                               16};

void CutFont(BitmapFont& font, ImageId sheet, const FontLayout& layout) {
  font.charset = layout.charset;
  font.advance = layout.advance;
  for (int n = 1; n <= layout.glyphCount; ++n) {
    int place = (n - 1) % layout.across;
    int row = (n - 1) / layout.across;
    font.glyphs[n] = CutImage(sheet, place * layout.pitch, row * layout.pitch, layout.width, layout.height);
  }
}

}  // namespace

void LoadBitmapFonts() {
  CutFont(G.LargeFont, G.LargeFontSheet, kLarge);
  CutFont(G.SmallFont, G.SmallFontSheet, kSmall);
}

void DrawBitmapText(const BitmapFont& font, const std::string& text, int x, int y) {
  int pen = x;
  for (char c : text) {
    size_t at = font.charset.find(c);
    // A character the font lacks takes no room: the next one is drawn in
    // its place.
    if (at == std::string::npos || at + 1 >= std::size(font.glyphs)) continue;
    BeginScreenDrawing();
    BlitImage(font.glyphs[at + 1], pen, y);
    EndScreenDrawing();
    pen += font.advance;
  }
}
