// The how-to-play picture: controls with key caps on the left, the three
// ways to line jewels up on the right, levels and chains below, and the
// keys that start and leave at the bottom.
#include <cmath>

#include "tools/assets/jewels.h"
#include "tools/assets/pictures.h"
#include "tools/assets/screen_parts.h"

namespace art {

namespace {

constexpr double kLine = 11;  // advance of body text

// A small well cell (24 px) with a jewel, for the examples.
void MiniCell(Canvas& c, int x, int y, int kind, bool glowing) {
  const Canvas tile = WellTile();
  for (int yy = 0; yy < 24; ++yy)
    for (int xx = 0; xx < 24; ++xx) c.Set(x + xx, y + yy, tile.Get(xx * 32 / 24, yy * 32 / 24));
  if (glowing) {
    for (int i = 0; i < 24; ++i) {
      c.Set(x + i, y, {255, 220, 120});
      c.Set(x + i, y + 23, {255, 220, 120});
      c.Set(x, y + i, {255, 220, 120});
      c.Set(x + 23, y + i, {255, 220, 120});
    }
  }
  if (kind > 0) DrawJewel(c, x - 4, y - 4, kind, 0.72);
}

void Example(Canvas& c, int x, int y, const char* const* rows, int cols, int lines, int kind, const char* caption) {
  for (int r = 0; r < lines; ++r)
    for (int q = 0; q < cols; ++q) {
      const char ch = rows[r][q];
      const bool match = ch == '#';
      const int filler = ch >= '1' && ch <= '6' ? ch - '0' : 0;
      MiniCell(c, x + q * 24, y + r * 24, match ? kind : filler, match);
    }
  PaintTextCentred(c, caption, x + cols * 12.0, y + lines * 24 + 8, kSmallPen, kLine, CaptionStyle());
}

}  // namespace

Canvas HowToPicture() {
  Canvas c(640, 480);
  PaintBackdrop(c, 0x40770u);
  PaintGlow(c, 320, 30, 300, 60, {70, 40, 140}, 0.5);

  LetterStyle heading = GoldLettering(0, 1);
  heading.bevelWidth = 1.5;
  PaintTextCentred(c, "HOW TO PLAY", 320, 14, Pen{4.0, 4.0, 2.2, 2.2}, 27, heading);

  const Rgb border{96, 104, 196};
  const LetterStyle body = BodyStyle();
  const LetterStyle caption = CaptionStyle();

  // Controls.
  PaintPanel(c, 20, 66, 292, 196, border);
  PaintText(c, "CONTROLS", 36, 78, kSmallPen, 12, caption);
  PaintKeyCap(c, 36, 104, 30, 28, "<");
  PaintKeyCap(c, 70, 104, 30, 28, ">");
  PaintText(c, "MOVE THE COLUMN", 114, 111, kSmallPen, kLine, body);
  PaintKeyCap(c, 53, 146, 30, 28, "^");
  PaintText(c, "CYCLE ITS JEWELS", 114, 153, kSmallPen, kLine, body);
  PaintKeyCap(c, 36, 188, 64, 28, "SPACE");
  PaintText(c, "DROP IT", 114, 195, kSmallPen, kLine, body);
  PaintText(c, "THE NEXT COLUMN WAITS", 36, 222, kSmallPen, kLine, body);
  PaintText(c, "BESIDE THE WELL.", 36, 240, kSmallPen, kLine, body);

  // Matching.
  PaintPanel(c, 328, 66, 292, 196, border);
  PaintText(c, "THREE OR MORE ALIKE", 344, 78, kSmallPen, 12, caption);
  static const char* const kAcross[] = {"###"};
  static const char* const kDown[] = {"#", "#", "#"};
  static const char* const kDiagonal[] = {"#25", "1#4", "56#"};
  Example(c, 348, 156, kAcross, 3, 1, 1, "ACROSS");
  Example(c, 460, 108, kDown, 1, 3, 2, "DOWN");
  Example(c, 522, 108, kDiagonal, 3, 3, 3, "DIAGONAL");
  PaintText(c, "IN A LINE EXPLODE!", 344, 222, kSmallPen, kLine, body);
  PaintText(c, "EVERY JEWEL SCORES.", 344, 240, kSmallPen, kLine, body);

  // Chains and levels.
  PaintPanel(c, 20, 276, 600, 136, border);
  PaintText(c, "CHAINS AND LEVELS", 36, 288, kSmallPen, 12, caption);
  const char* lines[] = {
      "JEWELS ABOVE FALL INTO THE GAPS, AND NEW LINES",
      "THEY FORM EXPLODE IN A CHAIN.",
      "CLEAR THE NUMBER SHOWN UNDER TO GO TO REACH THE",
      "NEXT LEVEL: THE COLUMN FALLS FASTER AND SCORES",
      "MORE. DON'T LET THE WELL OVERFLOW!",
  };
  for (int i = 0; i < 5; ++i) PaintText(c, lines[i], 36, 312 + i * 19, kSmallPen, kLine, body);

  // Start and leave.
  PaintKeyCap(c, 122, 430, 64, 28, "SPACE");
  PaintText(c, "START A GAME", 196, 437, kSmallPen, kLine, caption);
  PaintKeyCap(c, 382, 430, 44, 28, "ESC");
  PaintText(c, "LEAVE", 436, 437, kSmallPen, kLine, caption);
  return c;
}

}  // namespace art
