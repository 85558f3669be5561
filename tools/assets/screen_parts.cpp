#include "tools/assets/screen_parts.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tools/assets/mathx.h"

namespace art {

void PaintBackdrop(Canvas& c, uint32_t seed) { PaintBackdrop(c, seed, {{6, 6, 22}, {16, 14, 48}, {24, 20, 62}, {12, 12, 34}}); }

void PaintBackdrop(Canvas& c, uint32_t seed, const std::vector<Rgb>& sky) {
  const int w = c.width(), h = c.height();
  for (int y = 0; y < h; ++y) {
    const Rgb row = Ramp(sky, y / static_cast<double>(h - 1));
    for (int x = 0; x < w; ++x) c.Set(x, y, row);
  }
  Rng rng(seed);
  const int stars = w * h / 2400;
  for (int i = 0; i < stars; ++i) {
    const int x = rng.Range(0, w - 1), y = rng.Range(0, h - 1);
    const double bright = 0.25 + 0.75 * rng.Unit() * rng.Unit();
    const Rgb tint = rng.Range(0, 3) == 0 ? Rgb{255, 230, 200} : Rgb{200, 220, 255};
    c.Blend(x, y, tint, bright);
    if (bright > 0.7) {
      // The brightest few twinkle with a small cross.
      c.Blend(x - 1, y, tint, bright * 0.35);
      c.Blend(x + 1, y, tint, bright * 0.35);
      c.Blend(x, y - 1, tint, bright * 0.35);
      c.Blend(x, y + 1, tint, bright * 0.35);
    }
  }
}

void PaintGlow(Canvas& c, double cx, double cy, double rx, double ry, Rgb colour, double strength) {
  const int x0 = static_cast<int>(cx - rx), x1 = static_cast<int>(cx + rx) + 1;
  const int y0 = static_cast<int>(cy - ry), y1 = static_cast<int>(cy + ry) + 1;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
      const double d2 = dx * dx + dy * dy;
      if (d2 >= 1) continue;
      const double a = (1 - d2) * (1 - d2) * strength;
      // Quantised so that neighbouring rows do not band unevenly.
      c.Blend(x, y, colour, std::floor(a * 64) / 64);
    }
}

void PaintPanel(Canvas& c, int x, int y, int w, int h, Rgb border) {
  for (int yy = y; yy < y + h; ++yy)
    for (int xx = x; xx < x + w; ++xx) {
      const bool corner = (xx == x || xx == x + w - 1) && (yy == y || yy == y + h - 1);
      if (corner) continue;
      const bool edge = xx == x || yy == y || xx == x + w - 1 || yy == y + h - 1;
      if (edge) {
        c.Set(xx, yy, yy == y || xx == x ? Lift(border, 0.25) : Multiply(border, 0.7));
      } else {
        c.Set(xx, yy, Mix(c.Get(xx, yy), {4, 4, 16}, 0.55));
      }
    }
}

void PaintKeyCap(Canvas& c, int x, int y, int w, int h, std::string_view label) {
  const Rgb rim{36, 36, 56};
  for (int yy = 0; yy < h; ++yy)
    for (int xx = 0; xx < w; ++xx) {
      const bool corner = (xx == 0 || xx == w - 1) && (yy == 0 || yy == h - 1);
      if (corner) continue;
      Rgb col;
      if (xx == 0 || yy == 0 || xx == w - 1 || yy == h - 1) {
        col = rim;
      } else if (yy >= h - 4) {
        col = {120, 124, 142};  // the key's front face
      } else if (yy == 1 || xx == 1) {
        col = {250, 250, 255};
      } else {
        col = Mix({232, 234, 244}, {184, 188, 206}, yy / static_cast<double>(h - 4));
      }
      c.Set(x + xx, y + yy, col);
    }
  const Rgb ink{40, 42, 70};
  const double mx = x + w / 2.0, my = y + (h - 3) / 2.0;
  if (label == "<" || label == ">" || label == "^") {
    std::vector<Pt> arrow;
    if (label == "<") arrow = {{mx - 7, my}, {mx + 1, my - 7}, {mx + 1, my - 3}, {mx + 7, my - 3}, {mx + 7, my + 3}, {mx + 1, my + 3}, {mx + 1, my + 7}};
    if (label == ">") arrow = {{mx + 7, my}, {mx - 1, my - 7}, {mx - 1, my - 3}, {mx - 7, my - 3}, {mx - 7, my + 3}, {mx - 1, my + 3}, {mx - 1, my + 7}};
    if (label == "^") arrow = {{mx, my - 7}, {mx + 7, my + 1}, {mx + 3, my + 1}, {mx + 3, my + 7}, {mx - 3, my + 7}, {mx - 3, my + 1}, {mx - 7, my + 1}};
    FillPolygon(c, arrow, ink);
    return;
  }
  const Pen pen = kSmallPen;
  const double tw = TextWidth(label, pen, 11);
  Mask m(c.width(), c.height());
  StampText(m, label, std::floor(mx - tw / 2), std::floor(my - GlyphHeight(pen) / 2), pen, 11);
  PaintMask(c, m, ink);
}

LetterStyle BodyStyle() {
  LetterStyle s;
  s.fill = {{255, 255, 255}, {214, 232, 255}, {160, 200, 255}};
  s.shadow = {8, 10, 34};
  s.shadowX = 1;
  s.shadowY = 1;
  return s;
}

LetterStyle CaptionStyle() {
  LetterStyle s = GoldLettering(0, 1);
  s.bevelWidth = 0;
  s.outlineWidth = 0;
  s.shadowX = 1;
  s.shadowY = 1;
  s.shadow = {40, 16, 4};
  return s;
}

void PaintText(Canvas& c, std::string_view text, double x, double y, const Pen& pen, double advance, LetterStyle style) {
  // Paint on a patch just big enough for the text and its outline and
  // shadow, then copy it back: whole-screen masks per caption are slow.
  const int margin = 4 + style.outlineWidth + std::max(std::abs(style.shadowX), std::abs(style.shadowY));
  const int bx = static_cast<int>(std::floor(x)) - margin;
  const int by = static_cast<int>(std::floor(y)) - margin;
  const int bw = static_cast<int>(TextWidth(text, pen, advance)) + 2 * margin + 2;
  const int bh = static_cast<int>(GlyphHeight(pen)) + 2 * margin + 2;
  Canvas patch = c.Crop(bx, by, bw, bh);
  Mask m(bw, bh);
  StampText(m, text, x - bx, y - by, pen, advance);
  style.fillTop = y - by;
  style.fillBottom = y - by + GlyphHeight(pen);
  PaintLettering(patch, m, style);
  c.Blit(patch, bx, by);
}

void PaintTextCentred(Canvas& c, std::string_view text, double cx, double y, const Pen& pen, double advance,
                      const LetterStyle& style) {
  PaintText(c, text, std::floor(cx - TextWidth(text, pen, advance) / 2), y, pen, advance, style);
}

}  // namespace art
