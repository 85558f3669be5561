#include "tools/packaging/app_icon.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/assets/mathx.h"

namespace icon {

using art::Pt;
using art::Rgb;

namespace {

std::vector<Pt> RoundedSquare(double x0, double y0, double x1, double y1, double radius) {
  std::vector<Pt> out;
  const Pt corners[4] = {{x1 - radius, y0 + radius}, {x1 - radius, y1 - radius},
                         {x0 + radius, y1 - radius}, {x0 + radius, y0 + radius}};
  constexpr int kSteps = 8;
  for (int c = 0; c < 4; ++c) {
    const double start = -art::kPi / 2 + c * art::kPi / 2;
    for (int i = 0; i <= kSteps; ++i) {
      const double a = start + (art::kPi / 2) * i / kSteps;
      out.push_back({corners[c].x + radius * art::Cos(a), corners[c].y + radius * art::Sin(a)});
    }
  }
  return out;
}

std::vector<Pt> Moved(const std::vector<Pt>& poly, double dx, double dy) {
  std::vector<Pt> out;
  for (const Pt& p : poly) out.push_back({p.x + dx, p.y + dy});
  return out;
}

struct Stone {
  Rgb base;
  std::vector<Pt> outline;
  Pt centre;  // where the facets converge
};

// The three stones of the game's own window icon, top to bottom: a round
// ruby, a topaz triangle, a sapphire diamond, in the game's colours.
Stone Ruby(double cx, double cy, double r) {
  return {{224, 32, 44}, art::RegularPolygon(cx, cy, r, 12, art::kPi / 12), {cx, cy}};
}
Stone Topaz(double cx, double cy, double r) {
  return {{250, 204, 36}, {{cx, cy - r}, {cx + r, cy + 0.8 * r}, {cx - r, cy + 0.8 * r}}, {cx, cy + 0.25 * r}};
}
Stone Sapphire(double cx, double cy, double r) {
  return {{46, 98, 240}, {{cx, cy - r}, {cx + r, cy}, {cx, cy + r}, {cx - r, cy}}, {cx, cy}};
}

// A stone lit from the upper left: a drop shadow, a dark girdle, one ring of
// facets each shaded by the way it faces, a table and a sparkle.
void AddStone(std::vector<Shape>& out, const Stone& s, double r) {
  const Rgb bright = art::Lift(s.base, 0.72);
  const Rgb deep = art::Multiply(s.base, 0.30);
  const double lx = -0.62, ly = -0.78;
  out.push_back({Moved(s.outline, 0.05 * r, 0.09 * r), art::kBlack, 0.45});
  out.push_back({s.outline, deep});
  const std::vector<Pt> ring = art::Shrunk(s.outline, s.centre.x, s.centre.y, 0.92);
  const std::vector<Pt> table = art::Shrunk(s.outline, s.centre.x, s.centre.y, 0.5);
  for (size_t i = 0; i < ring.size(); ++i) {
    const size_t j = (i + 1) % ring.size();
    double nx = ring[j].y - ring[i].y, ny = -(ring[j].x - ring[i].x);
    const double mx = (ring[i].x + ring[j].x) / 2 - s.centre.x, my = (ring[i].y + ring[j].y) / 2 - s.centre.y;
    if (nx * mx + ny * my < 0) {
      nx = -nx;
      ny = -ny;
    }
    const double len = std::sqrt(nx * nx + ny * ny);
    const double f = len > 0 ? (nx * lx + ny * ly) / len : 0;
    const Rgb colour = f >= 0 ? art::Mix(s.base, bright, f * 0.75) : art::Mix(s.base, deep, -f * 0.85);
    out.push_back({{ring[i], ring[j], table[j], table[i]}, colour});
  }
  out.push_back({table, art::Lift(s.base, 0.3)});
  const double gx = s.centre.x - 0.28 * r, gy = s.centre.y - 0.28 * r, arm = 0.22 * r, waist = 0.05 * r;
  out.push_back({{{gx, gy - arm}, {gx + waist, gy - waist}, {gx + arm, gy}, {gx + waist, gy + waist},
                  {gx, gy + arm}, {gx - waist, gy + waist}, {gx - arm, gy}, {gx - waist, gy - waist}},
                 art::kWhite});
}

}  // namespace

std::vector<Shape> DesktopIcon() {
  std::vector<Shape> out;
  // The well: a navy tile with a lit lower-right rim, like the game's empty
  // cells, and faint lines between its three columns.
  out.push_back({RoundedSquare(16, 16, 240, 240, 36), {40, 44, 86}});
  out.push_back({RoundedSquare(16, 16, 236, 234, 34), {12, 13, 30}});
  out.push_back({RoundedSquare(22, 22, 234, 232, 30), {22, 24, 50}});
  for (double x : {92.0, 162.0}) out.push_back({{{x - 1.5, 24}, {x + 1.5, 24}, {x + 1.5, 230}, {x - 1.5, 230}}, {30, 33, 64}});
  // The falling column.
  const double r = 32;
  AddStone(out, Ruby(127, 57, r), r);
  AddStone(out, Topaz(127, 129, r), r);
  AddStone(out, Sapphire(127, 199, r), r);
  return out;
}

std::vector<uint32_t> Paint(const std::vector<Shape>& shapes, int size) {
  // Enough samples per pixel that small sizes keep their facets apart.
  const int per = std::max(4, 512 / std::max(size, 1));
  const int samples = size * per;
  const double unitsPerSample = kUnits / samples;
  // Premultiplied red, green, blue, alpha per pixel, summed over samples.
  std::vector<double> sum(static_cast<size_t>(size) * size * 4, 0.0);
  std::vector<double> row(static_cast<size_t>(samples) * 4);
  std::vector<double> crossings;
  for (int sy = 0; sy < samples; ++sy) {
    std::fill(row.begin(), row.end(), 0.0);
    const double y = (sy + 0.5) * unitsPerSample;
    for (const Shape& shape : shapes) {
      crossings.clear();
      const size_t n = shape.points.size();
      for (size_t i = 0; i < n; ++i) {
        const Pt a = shape.points[i], b = shape.points[(i + 1) % n];
        if ((a.y <= y) != (b.y <= y)) crossings.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
      }
      std::sort(crossings.begin(), crossings.end());
      const double alpha = shape.opacity;
      const double cr = shape.colour.r / 255.0 * alpha, cg = shape.colour.g / 255.0 * alpha,
                   cb = shape.colour.b / 255.0 * alpha;
      for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
        // Samples whose centres lie inside [from, to).
        const int x0 = std::max(0, static_cast<int>(std::ceil(crossings[k] / unitsPerSample - 0.5)));
        const int x1 = std::min(samples, static_cast<int>(std::ceil(crossings[k + 1] / unitsPerSample - 0.5)));
        for (int sx = x0; sx < x1; ++sx) {
          double* p = &row[static_cast<size_t>(sx) * 4];
          p[0] = cr + p[0] * (1 - alpha);
          p[1] = cg + p[1] * (1 - alpha);
          p[2] = cb + p[2] * (1 - alpha);
          p[3] = alpha + p[3] * (1 - alpha);
        }
      }
    }
    double* dst = &sum[static_cast<size_t>(sy / per) * size * 4];
    for (int sx = 0; sx < samples; ++sx)
      for (int c = 0; c < 4; ++c) dst[(sx / per) * 4 + c] += row[static_cast<size_t>(sx) * 4 + c];
  }
  std::vector<uint32_t> out(static_cast<size_t>(size) * size);
  const double count = static_cast<double>(per) * per;
  for (size_t i = 0; i < out.size(); ++i) {
    const double a = sum[i * 4 + 3] / count;
    auto channel = [&](int c) {
      const double v = a > 0 ? sum[i * 4 + c] / count / a : 0;
      return static_cast<uint32_t>(art::RoundToInt(art::Clamp(v, 0, 1) * 255));
    };
    const auto alpha = static_cast<uint32_t>(art::RoundToInt(art::Clamp(a, 0, 1) * 255));
    out[i] = alpha << 24 | channel(0) << 16 | channel(1) << 8 | channel(2);
  }
  return out;
}

std::string Svg(const std::vector<Shape>& shapes) {
  char buf[64];
  std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
  for (const Shape& shape : shapes) {
    s += "  <path d=\"";
    for (size_t i = 0; i < shape.points.size(); ++i) {
      std::snprintf(buf, sizeof buf, "%s%.2f %.2f ", i == 0 ? "M" : "L", shape.points[i].x, shape.points[i].y);
      s += buf;
    }
    std::snprintf(buf, sizeof buf, "Z\" fill=\"#%02x%02x%02x\"", shape.colour.r, shape.colour.g, shape.colour.b);
    s += buf;
    if (shape.opacity < 1) {
      std::snprintf(buf, sizeof buf, " fill-opacity=\"%.2f\"", shape.opacity);
      s += buf;
    }
    s += "/>\n";
  }
  s += "</svg>\n";
  return s;
}

}  // namespace icon
