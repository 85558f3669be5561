// The high-score heading and the two sliding sprites (game over, get
// ready). The sprites key on exact black, so everything meant to show is
// kept at least one step above it.
#include <cmath>

#include "tools/assets/jewels.h"
#include "tools/assets/pictures.h"
#include "tools/assets/screen_parts.h"

namespace art {

Canvas HighScoreHeading() {
  Canvas c(372, 150);
  PaintGlow(c, 186, 76, 200, 70, {60, 36, 120}, 0.6);
  // A crown of the six stones.
  const int gap = 10;
  const int row = 6 * kCell + 5 * gap;
  for (int k = 1; k <= 6; ++k) {
    const int x = 186 - row / 2 + (k - 1) * (kCell + gap);
    // Outer stones sit lower, like the points of a crown.
    const int lift = (k == 1 || k == 6) ? 10 : (k == 2 || k == 5) ? 4 : 0;
    DrawJewel(c, x, 6 + lift, k, 0.8);
  }
  const Pen pen{5.0, 6.0, 3.0, 3.0};
  LetterStyle gold = GoldLettering(0, 1);
  gold.bevelWidth = 2;
  gold.outlineWidth = 2;
  gold.shadowX = 3;
  gold.shadowY = 3;
  PaintTextCentred(c, "HIGH SCORES", 186, 56, pen, 32, gold);
  for (int x = 36; x < 336; ++x) {
    const double fade = 1 - std::fabs(x + 0.5 - 186) / 150;
    c.Blend(x, 117, {255, 214, 90}, fade);
    c.Blend(x, 118, {150, 90, 20}, fade);
  }
  PaintTextCentred(c, "THE TEN BEST", 186, 128, kSmallPen, 12, BodyStyle());
  return c;
}

Canvas GameOverSprite() {
  Canvas c(360, 150);
  const Pen pen{10.0, 9.0, 5.5, 5.0};
  LetterStyle hot;
  hot.fill = {{255, 250, 220}, {255, 190, 80}, {240, 80, 30}, {170, 16, 24}, {240, 70, 40}};
  hot.bevelWidth = 3;
  hot.bevelLight = 0.55;
  hot.outline = {60, 4, 14};
  hot.outlineWidth = 3;
  hot.shadow = {16, 2, 8};
  hot.shadowX = 4;
  hot.shadowY = 5;
  const double h = GlyphHeight(pen);
  const double advance = GlyphWidth(pen) + 12;
  PaintTextCentred(c, "GAME", 178, 6, pen, advance, hot);
  PaintTextCentred(c, "OVER", 178, 6 + h + 10, pen, advance, hot);
  return c;
}

Canvas GetReadySprite() {
  Canvas c(226, 38);
  const Pen pen{4.0, 4.6, 2.3, 2.3};
  LetterStyle blue;
  blue.fill = {{200, 236, 255}, {90, 170, 255}, {30, 84, 224}, {20, 44, 150}, {60, 120, 240}};
  blue.bevelWidth = 1.5;
  blue.bevelLight = 0.5;
  blue.outline = {12, 20, 70};
  blue.outlineWidth = 1;
  blue.shadow = {168, 170, 188};  // a grey shadow on the white screen
  blue.shadowX = 2;
  blue.shadowY = 2;
  PaintTextCentred(c, "GET READY", 112, 1.5, pen, 24.5, blue);
  return c;
}

}  // namespace art
