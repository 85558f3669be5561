// The ten frames of a jewel bursting. The burst is there from the first
// frame, since that frame may be shown for only one game frame: a white-hot
// star flash, then shards in the jewels' own colours flying out with a
// shock ring, a fireball that collapses and embers that burn out. Each frame
// replaces the whole cell, so it is painted over the well tile.
#include <cmath>

#include "tools/assets/jewels.h"
#include "tools/assets/mathx.h"
#include "tools/assets/pictures.h"

namespace art {

namespace {

constexpr int kFrames = 10;
constexpr int kShards = 12;

Rgb HeatColour(double h) {
  return Ramp({{70, 14, 8}, {170, 36, 10}, {240, 110, 18}, {255, 196, 60}, {255, 246, 190}, {255, 255, 255}}, h);
}

// The jewels' body colours, so the shards read as pieces of the jewels.
constexpr Rgb kShardColours[] = {{200, 18, 46},  {52, 214, 96},   {34, 82, 228},
                                 {250, 204, 36}, {204, 116, 244}, {64, 222, 232}};

// The flash and fireball: a hot core with rays, strongest in frame 0.
double FireHeat(int frame, double dx, double dy, double d) {
  static const double kRadius[kFrames] = {15, 13, 11.5, 10, 8.5, 7, 5.5, 4, 2.5, 1.2};
  static const double kHeat[kFrames] = {1.3, 1.0, 0.82, 0.68, 0.56, 0.45, 0.35, 0.26, 0.18, 0.1};
  static const double kRays[kFrames] = {0.55, 0.35, 0.2, 0.1, 0, 0, 0, 0, 0, 0};
  // Eight rays: |cos 4a| from the direction without a transcendental call.
  double rays = 0;
  if (d > 0.01 && kRays[frame] > 0) {
    const double c = dx / d, s = dy / d;
    const double c2 = c * c - s * s, s2 = 2 * s * c;  // angle 2a
    const double c4 = c2 * c2 - s2 * s2;              // cos 4a
    rays = kRays[frame] * c4 * c4;
  }
  const double radius = kRadius[frame] * (1 - kRays[frame] * 0.6 + rays);
  if (d >= radius) return 0;
  const double core = 1 - (d / radius) * (d / radius);
  return kHeat[frame] * core;
}

void PaintShards(Canvas& sheet, int ox, int frame) {
  // The same twelve shards in every frame after the flash, on straight
  // lines at scattered speeds, slowing down.
  if (frame == 0) return;
  Rng rng(0x5EEDu);
  for (int i = 0; i < kShards; ++i) {
    const double angle = kTwoPi * (i + 0.25 + rng.Unit() * 0.5) / kShards;
    const double speed = 1.4 + rng.Unit() * 3.2;
    const int size = 2 + static_cast<int>(rng.Unit() * 1.99);  // 2 or 3 pixels
    const Rgb colour = kShardColours[i % kJewelKinds];
    // Distance: starts near the core, eases out.
    const double travel = frame * (1.0 - frame / 24.0);
    const double dist = 3 + speed * travel * 1.6;
    const double fade = frame < 6 ? 1.0 : 1.0 - (frame - 5) / 5.0;
    const double cx = 16 + Cos(angle) * dist, cy = 16 + Sin(angle) * dist;
    const int x0 = static_cast<int>(std::floor(cx - size / 2.0 + 0.5));
    const int y0 = static_cast<int>(std::floor(cy - size / 2.0 + 0.5));
    for (int y = y0; y < y0 + size; ++y)
      for (int x = x0; x < x0 + size; ++x) {
        if (x < 0 || y < 0 || x >= kCell || y >= kCell) continue;
        // A lit upper-left pixel gives each shard a glint.
        const Rgb c = (x == x0 && y == y0) ? Lift(colour, 0.55) : colour;
        sheet.Set(ox + x, y, Mix(sheet.Get(ox + x, y), c, 0.95 * fade));
      }
  }
}

void PaintFrame(Canvas& sheet, int frame) {
  const int ox = frame * kCell;
  // The shock ring leaves the flash's edge at once and fades as it spreads.
  const double ring = 9 + frame * 1.6;
  const double ringHeat = frame <= 6 ? 0.75 * (1 - frame / 7.0) : 0;

  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) {
      const double dx = x + 0.5 - 16, dy = y + 0.5 - 16;
      const double d = std::sqrt(dx * dx + dy * dy);
      double h = FireHeat(frame, dx, dy, d);
      const double rd = std::fabs(d - ring);
      if (ringHeat > 0 && rd < 1.4) {
        const double hr = (1 - rd / 1.4) * ringHeat;
        if (hr > h) h = hr;
      }
      if (h <= 0.02) continue;
      const Rgb bg = sheet.Get(ox + x, y);
      sheet.Set(ox + x, y, Mix(bg, HeatColour(h), Clamp(h * 2.6, 0, 1)));
    }
  PaintShards(sheet, ox, frame);
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
