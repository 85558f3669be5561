// The title picture: the name in large bevelled letters over a night sky,
// with a still pool at the bottom where the attract screen's jewel fountain
// rises (its jewels start at 320, 450). The fountain copies whole jewel
// cells, navy square and all, so the sky is painted in the well's own flat
// navy: the squares melt into it.
//
// The fountain's jewels leave their spring at least 42 degrees off the
// vertical, so the space straight above the spring stays clear and widens
// with height. The call to action sits high in that clear cone, right under
// the name, where a jewel crosses it in about one frame in eight; the tag
// line goes above the name, where no jewel ever reaches.
#include <cmath>

#include "tools/assets/jewels.h"
#include "tools/assets/mathx.h"
#include "tools/assets/pictures.h"
#include "tools/assets/screen_parts.h"

namespace art {

namespace {

constexpr double kLogoTop = 40;

void PaintLogo(Canvas& c) {
  const Pen pen{13.0, 13.0, 7.5, 7.5};
  const double advance = GlyphWidth(pen) + 13;
  const char* name = "STAKKO";
  const double width = TextWidth(name, pen, advance);
  const double x0 = std::floor((640 - width) / 2);
  const double y0 = kLogoTop;
  // Each letter takes the colour of one of the six jewels.
  static const Rgb kTints[6] = {{236, 52, 60}, {50, 206, 92}, {60, 118, 246}, {252, 208, 48}, {206, 122, 244}, {80, 226, 236}};
  for (int i = 0; i < 6; ++i) {
    // Each letter is painted on its own patch of the picture.
    const int bx = static_cast<int>(x0 + i * advance) - 16;
    const int by = static_cast<int>(y0) - 16;
    const int bw = static_cast<int>(GlyphWidth(pen)) + 40, bh = static_cast<int>(GlyphHeight(pen)) + 40;
    Canvas patch = c.Crop(bx, by, bw, bh);
    const double ly = y0 - by;
    Mask m(bw, bh);
    StampGlyph(m, name[i], x0 + i * advance - bx, ly, pen);
    LetterStyle s;
    const Rgb t = kTints[i];
    s.fill = {Lift(t, 0.75), Lift(t, 0.25), t, Multiply(t, 0.62), Lift(t, 0.1)};
    s.fillTop = ly;
    s.fillBottom = ly + GlyphHeight(pen);
    s.bevelWidth = 4;
    s.bevelLight = 0.6;
    // A dark rim with a drop shadow, a gold band inside it, then the
    // jewel-coloured letter.
    LetterStyle rim;
    rim.fill = {{60, 30, 10}};
    rim.outline = {60, 30, 10};
    rim.outlineWidth = 4;
    rim.shadow = {4, 2, 12};
    rim.shadowX = 5;
    rim.shadowY = 6;
    PaintLettering(patch, m, rim);
    LetterStyle gold = GoldLettering(ly - 4, ly + GlyphHeight(pen) + 4);
    gold.bevelWidth = 0;
    gold.outlineWidth = 0;
    gold.shadowX = 0;
    gold.shadowY = 0;
    PaintLettering(patch, Minus(Dilated(m, 3), m), gold);
    PaintLettering(patch, m, s);
    c.Blit(patch, bx, by);
  }
}

void PaintRule(Canvas& c, int y, int half) {
  const LetterStyle gold = CaptionStyle();
  for (int x = 320 - half; x < 320 + half; ++x) {
    const double fade = 1 - std::fabs(x + 0.5 - 320) / half;
    c.Blend(x, y, {255, 214, 90}, fade);
    c.Blend(x, y + 1, {150, 90, 20}, fade);
  }
  // A small diamond at the centre.
  Mask d(c.width(), c.height());
  FillPolygon(d, {{320, static_cast<double>(y) - 5}, {326, y + 1.0}, {320, y + 7.0}, {314, y + 1.0}});
  LetterStyle s = gold;
  s.fillTop = y - 5;
  s.fillBottom = y + 7;
  s.outline = {60, 30, 6};
  s.outlineWidth = 1;
  PaintLettering(c, d, s);
}

// The pool the fountain springs from: well navy fading out at its rim, with
// faint ripples spreading from where the jewels rise.
void PaintSpring(Canvas& c) {
  const double cx = 336, cy = 482, rx = 200, ry = 92;
  for (int y = static_cast<int>(cy - ry); y < c.height(); ++y)
    for (int x = static_cast<int>(cx - rx); x <= static_cast<int>(cx + rx); ++x) {
      const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d >= 1) continue;
      const double edge = Clamp((1 - d) / 0.45, 0, 1);
      c.Blend(x, y, kWellNavy, std::floor(edge * edge * (3 - 2 * edge) * 64) / 64);
    }
  for (int k = 1; k <= 4; ++k) {
    const double r = 0.22 * k;
    const double strength = 0.24 * (1 - r * 0.9);
    for (int x = static_cast<int>(cx - rx * r); x <= static_cast<int>(cx + rx * r); ++x) {
      const double u = (x + 0.5 - cx) / (rx * r);
      if (std::fabs(u) >= 1) continue;
      const int y = static_cast<int>(std::floor(cy - ry * r * std::sqrt(1 - u * u)));
      c.Blend(x, y, {120, 140, 230}, strength * (1 - u * u));
    }
  }
}

}  // namespace

Canvas TitlePicture() {
  Canvas c(640, 480);
  // Flat navy, so the fountain's squares show nowhere, with a few faint stars.
  PaintBackdrop(c, 0x57A11u, {kWellNavy, kWellNavy});
  PaintGlow(c, 320, 90, 300, 70, {70, 40, 140}, 0.45);
  PaintSpring(c);
  PaintTextCentred(c, "THE FALLING JEWELS PUZZLE", 320, 12, kSmallPen, 13, BodyStyle());
  PaintLogo(c);
  PaintRule(c, 156, 220);

  LetterStyle prompt = GoldLettering(0, 1);
  prompt.bevelWidth = 0;
  prompt.outlineWidth = 1;
  prompt.shadowX = 2;
  prompt.shadowY = 2;
  PaintTextCentred(c, "PRESS SPACE TO PLAY", 320, 170, kMediumPen, 19, prompt);
  PaintTextCentred(c, "ESC TO QUIT", 320, 202, kSmallPen, 13, BodyStyle());

  // The six stones on display beneath, where the fountain plays over them.
  const int gap = 14;
  const int row = 6 * kCell + 5 * gap;
  for (int k = 1; k <= 6; ++k) DrawJewel(c, 320 - row / 2 + (k - 1) * (kCell + gap), 252, k);
  return c;
}

}  // namespace art
