// The ten frames of a jewel bursting: a white flash that swells into a
// fireball, throws sparks and a shock ring, and burns out to embers. Each
// frame replaces the whole cell, so it is painted over the well tile.
#include <cmath>

#include "tools/assets/jewels.h"
#include "tools/assets/mathx.h"
#include "tools/assets/pictures.h"

namespace art {

namespace {

constexpr int kFrames = 10;

Rgb HeatColour(double h) {
  return Ramp({{70, 14, 8}, {170, 36, 10}, {240, 110, 18}, {255, 196, 60}, {255, 246, 190}, {255, 255, 255}}, h);
}

// Cheap deterministic value noise over the cell, one lattice per frame.
double Noise(const double* lattice, double x, double y) {
  const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
  const double fx = x - ix, fy = y - iy;
  auto at = [&](int a, int b) { return lattice[((b & 7) * 8) + (a & 7)]; };
  const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  const double top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * sx;
  const double bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * sx;
  return top + (bottom - top) * sy;
}

void PaintFrame(Canvas& sheet, int frame) {
  const int ox = frame * kCell;
  const double t = frame / static_cast<double>(kFrames - 1);
  // Fireball radius and heat: swells over three frames, then collapses.
  static const double kRadius[kFrames] = {7, 11, 13.5, 14, 13, 11.5, 9.5, 7, 4.5, 2};
  static const double kHeat[kFrames] = {1.25, 1.15, 1.0, 0.86, 0.72, 0.58, 0.45, 0.33, 0.22, 0.12};
  const double radius = kRadius[frame];
  const double heat = kHeat[frame];
  const double ring = 5 + frame * 1.55;

  Rng rng(0xB00Bu + static_cast<uint32_t>(frame) * 7919u);
  double lattice[64];
  for (double& v : lattice) v = rng.Unit();

  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) {
      const double dx = x + 0.5 - 16, dy = y + 0.5 - 16;
      const double d = std::sqrt(dx * dx + dy * dy);
      double h = 0;
      if (d < radius) {
        const double core = 1 - (d / radius) * (d / radius);
        const double flame = 0.55 + 0.9 * Noise(lattice, x / 4.0, y / 4.0);
        h = heat * core * flame + (frame < 2 ? 0.35 * core : 0);
      }
      // The shock ring thins and fades as it spreads.
      const double rd = std::fabs(d - ring);
      if (frame >= 1 && frame <= 6 && rd < 1.3) {
        const double hr = (1 - rd / 1.3) * 0.7 * (1 - t * 1.2);
        if (hr > h) h = hr;
      }
      if (h <= 0.02) continue;
      const Rgb bg = sheet.Get(ox + x, y);
      const double alpha = Clamp(h * 2.6, 0, 1);
      sheet.Set(ox + x, y, Mix(bg, HeatColour(h), alpha));
    }

  // Sparks fly on straight lines; the same fourteen in every frame.
  Rng sparks(0x5EEDu);
  for (int i = 0; i < 14; ++i) {
    const double angle = kTwoPi * (i + sparks.Unit() * 0.7) / 14;
    const double speed = 1.5 + sparks.Unit() * 1.4;
    const double life = 5 + sparks.Unit() * 4;
    if (frame == 0 || frame > life) continue;
    const double dist = 4 + speed * frame;
    const double fade = 1 - frame / (life + 1);
    for (int tail = 0; tail < 2; ++tail) {
      const double dd = dist - tail * 1.2;
      const int sx = static_cast<int>(std::floor(16 + Cos(angle) * dd));
      const int sy = static_cast<int>(std::floor(16 + Sin(angle) * dd));
      if (sx < 0 || sy < 0 || sx >= kCell || sy >= kCell) continue;
      const double h = (tail == 0 ? 0.95 : 0.6) * fade + 0.05;
      sheet.Set(ox + sx, sy, Mix(sheet.Get(ox + sx, sy), HeatColour(h), 0.9));
    }
  }
}

}  // namespace

Canvas ExplosionSheet() {
  Canvas sheet(kCell * 11, kCell);
  const Canvas tile = WellTile();
  for (int k = 0; k < 11; ++k) sheet.Blit(tile, k * kCell, 0);
  for (int f = 0; f < kFrames; ++f) PaintFrame(sheet, f);
  return sheet;
}

}  // namespace art
