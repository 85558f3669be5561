#include "tools/assets/jewels.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/assets/mathx.h"

namespace art {

namespace {

struct JewelCut {
  Rgb base;
  std::vector<Pt> outline;          // in cell coordinates (0..32)
  std::vector<double> tiers;        // shrink factor of each ring of facets
  Pt centre;
};

std::vector<Pt> StarPoints(double cx, double cy, double outer, double inner, int points) {
  std::vector<Pt> out;
  for (int i = 0; i < points * 2; ++i) {
    const double a = -kPi / 2 + kPi * i / points;
    const double r = (i % 2 == 0) ? outer : inner;
    out.push_back({cx + r * Cos(a), cy + r * Sin(a)});
  }
  return out;
}

// A heart, pointed at the bottom, notched at the top, about 28 pixels wide.
std::vector<Pt> HeartPoints(double cx, double cy, double size) {
  std::vector<Pt> out;
  constexpr int kSteps = 28;
  for (int i = 0; i < kSteps; ++i) {
    const double t = 2 * kPi * i / kSteps;
    const double s = Sin(t);
    const double x = 16 * s * s * s;
    const double y = 13 * Cos(t) - 5 * Cos(2 * t) - 2 * Cos(3 * t) - Cos(4 * t);
    out.push_back({cx + x * size, cy - y * size});
  }
  return out;
}

// Each kind has its own colour and its own silhouette, so that players who
// cannot tell the colours apart still see six different stones. The colours
// also step apart in lightness (deep ruby, light emerald), because red and
// green meet in one khaki for many players; and no two silhouettes share
// more than two thirds of the area they cover together, so even a grey view
// keeps every pair apart.
JewelCut Cut(int kind) {
  switch (kind) {
    case 1:  // ruby: round brilliant
      return {{200, 18, 46}, RegularPolygon(16, 16, 14.8, 16, kPi / 16), {0.52}, {16, 16}};
    case 2:  // emerald: tall step cut, the only upright oblong
      return {{52, 214, 96},
              {{12, 1.5}, {20, 1.5}, {24, 5.5}, {24, 26.5}, {20, 30.5}, {12, 30.5}, {8, 26.5}, {8, 5.5}},
              {0.80, 0.56},
              {16, 16}};
    case 3:  // sapphire: diamond
      return {{34, 82, 228}, {{16, 1.5}, {30.5, 16}, {16, 30.5}, {1.5, 16}}, {0.5}, {16, 16}};
    case 4:  // topaz: triangle
      return {{250, 204, 36}, {{16, 2}, {30.5, 28.5}, {1.5, 28.5}}, {0.46}, {16, 19.5}};
    case 5:  // amethyst: heart
      return {{204, 116, 244}, HeartPoints(16, 14.5, 0.86), {0.5}, {16, 16}};
    default:  // aquamarine: star
      return {{64, 222, 232}, StarPoints(16, 17, 15, 7, 5), {0.38}, {16, 17}};
  }
}

std::vector<Pt> Placed(const std::vector<Pt>& poly, int x, int y, double scale) {
  std::vector<Pt> out;
  for (const Pt& p : poly) out.push_back({x + 16 + (p.x - 16) * scale, y + 16 + (p.y - 16) * scale});
  return out;
}

}  // namespace

Canvas WellTile() {
  // A recessed cell: night navy with a faint bevel, so that a column of
  // tiles reads as a calm grid rather than a pattern. The face stays within
  // a few steps of kWellNavy.
  Canvas t(kCell, kCell);
  const Rgb fillTop = Lift(kWellNavy, 0.02);
  const Rgb fillBottom = Multiply(kWellNavy, 0.9);
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) t.Set(x, y, Mix(fillTop, fillBottom, y / 31.0));
  const Rgb shade = Multiply(kWellNavy, 0.55);
  const Rgb light = Lift(kWellNavy, 0.1);
  for (int i = 0; i < kCell; ++i) {
    t.Set(i, 0, shade);
    t.Set(0, i, shade);
    t.Set(i, kCell - 1, light);
    t.Set(kCell - 1, i, light);
  }
  t.Set(0, kCell - 1, Mix(shade, light, 0.5));
  t.Set(kCell - 1, 0, Mix(shade, light, 0.5));
  return t;
}

namespace {

void DrawJewelOn(Canvas& c, int x, int y, int kind, double scale) {
  const JewelCut cut = Cut(kind);
  const std::vector<Pt> outer = Placed(cut.outline, x, y, scale);
  const Pt centre{x + 16 + (cut.centre.x - 16) * scale, y + 16 + (cut.centre.y - 16) * scale};

  Mask shape(c.width(), c.height());
  FillPolygon(shape, outer);

  // A soft drop shadow onto the background, then a dark rim.
  Mask shadow = Minus(Shifted(shape, 1, 2), shape);
  for (int yy = 0; yy < c.height(); ++yy)
    for (int xx = 0; xx < c.width(); ++xx)
      if (shadow.Get(xx, yy)) c.Set(xx, yy, Multiply(c.Get(xx, yy), 0.45));

  const Rgb base = cut.base;
  const Rgb bright = Lift(base, 0.72);
  const Rgb deep = Multiply(base, 0.30);
  const double lx = -0.62, ly = -0.78;

  // Rings of facets from the girdle inward, each lit by its own slope.
  std::vector<Pt> ring = outer;
  double slope = 1.0;
  for (double k : cut.tiers) {
    const std::vector<Pt> inner = Shrunk(outer, centre.x, centre.y, k);
    const size_t n = ring.size();
    for (size_t i = 0; i < n; ++i) {
      const size_t j = (i + 1) % n;
      const Pt a = ring[i], b = ring[j];
      double nx = b.y - a.y, ny = -(b.x - a.x);
      const double mx = (a.x + b.x) / 2 - centre.x, my = (a.y + b.y) / 2 - centre.y;
      if (nx * mx + ny * my < 0) {
        nx = -nx;
        ny = -ny;
      }
      const double len = std::sqrt(nx * nx + ny * ny);
      const double facing = len > 0 ? (nx * lx + ny * ly) / len : 0;
      const double f = facing * slope;
      const Rgb col = f >= 0 ? Mix(base, bright, f * 0.75) : Mix(base, deep, -f * 0.85);
      FillPolygon(c, {a, b, inner[j], inner[i]}, col);
    }
    ring = inner;
    slope *= 0.6;
  }
  // The table: a gentle top-to-bottom sheen.
  {
    double y0 = ring[0].y, y1 = ring[0].y;
    for (const Pt& p : ring) {
      y0 = std::min(y0, p.y);
      y1 = std::max(y1, p.y);
    }
    Mask table(c.width(), c.height());
    FillPolygon(table, ring);
    for (int yy = 0; yy < c.height(); ++yy)
      for (int xx = 0; xx < c.width(); ++xx)
        if (table.Get(xx, yy)) {
          const double t = y1 > y0 ? (yy + 0.5 - y0) / (y1 - y0) : 0.5;
          c.Set(xx, yy, Mix(Lift(base, 0.38), Multiply(base, 0.92), t));
        }
  }
  // Dark girdle line where the stone meets the background.
  for (int yy = 0; yy < c.height(); ++yy)
    for (int xx = 0; xx < c.width(); ++xx) {
      if (!shape.Get(xx, yy)) continue;
      const bool edge = !shape.Get(xx - 1, yy) || !shape.Get(xx + 1, yy) || !shape.Get(xx, yy - 1) || !shape.Get(xx, yy + 1);
      if (edge) {
        // Upper-left rim catches the light, lower-right falls into shade.
        const bool lit = !shape.Get(xx - 1, yy) || !shape.Get(xx, yy - 1);
        c.Set(xx, yy, lit ? Multiply(base, 0.62) : deep);
      }
    }
  // Glint: a small four-point sparkle on the upper-left of the table.
  const int gx = RoundToInt(centre.x - 4.5 * scale);
  const int gy = RoundToInt(centre.y - 4.5 * scale);
  c.Set(gx, gy, kWhite);
  if (scale >= 0.75) {
    const Rgb soft = Lift(base, 0.8);
    c.Set(gx - 1, gy, soft);
    c.Set(gx + 1, gy, soft);
    c.Set(gx, gy - 1, soft);
    c.Set(gx, gy + 1, soft);
  }
}

}  // namespace

void DrawJewel(Canvas& c, int x, int y, int kind, double scale) {
  // Work on a small patch around the cell: the masks below cover the whole
  // canvas they are given.
  constexpr int kMargin = 8;
  Canvas patch = c.Crop(x - kMargin, y - kMargin, kCell + 2 * kMargin, kCell + 2 * kMargin);
  DrawJewelOn(patch, kMargin, kMargin, kind, scale);
  c.Blit(patch, x - kMargin, y - kMargin);
}

Canvas JewelSheet() {
  Canvas sheet(kCell * 7, kCell);
  sheet.Blit(WellTile(), 0, 0);
  // A jewel sits on plain navy, without the empty tile's bevel: the attract
  // fountain copies whole cells over the title's navy sky, where a bevelled
  // edge would outline every square.
  for (int k = 1; k <= kJewelKinds; ++k) {
    sheet.FillRect(k * kCell, 0, kCell, kCell, kWellNavy);
    DrawJewel(sheet, k * kCell, 0, k);
  }
  return sheet;
}

}  // namespace art
