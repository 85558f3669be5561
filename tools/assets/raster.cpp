#include "tools/assets/raster.h"

#include <algorithm>
#include <cmath>

#include "tools/assets/mathx.h"

namespace art {

namespace {
int Channel(double v) { return ClampInt(RoundToInt(v), 0, 255); }
}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  return {Channel(a.r + (b.r - a.r) * t), Channel(a.g + (b.g - a.g) * t), Channel(a.b + (b.b - a.b) * t)};
}

Rgb Multiply(Rgb c, double k) { return {Channel(c.r * k), Channel(c.g * k), Channel(c.b * k)}; }

Rgb Lift(Rgb c, double t) { return t >= 0 ? Mix(c, kWhite, t) : Mix(c, kBlack, -t); }

Rgb Ramp(const std::vector<Rgb>& stops, double t) {
  if (stops.empty()) return kBlack;
  if (stops.size() == 1) return stops[0];
  t = Clamp(t, 0.0, 1.0) * static_cast<double>(stops.size() - 1);
  size_t i = static_cast<size_t>(t);
  if (i >= stops.size() - 1) return stops.back();
  return Mix(stops[i], stops[i + 1], t - static_cast<double>(i));
}

Rgb Ramp(std::initializer_list<Rgb> stops, double t) { return Ramp(std::vector<Rgb>(stops), t); }

Rgb NotBlack(Rgb c) {
  if (c.r == 0 && c.g == 0 && c.b == 0) return {1, 1, 1};
  return c;
}

uint32_t Pack(Rgb c) {
  return (static_cast<uint32_t>(c.r) << 16) | (static_cast<uint32_t>(c.g) << 8) | static_cast<uint32_t>(c.b);
}

Rgb Unpack(uint32_t p) {
  return {static_cast<int>((p >> 16) & 255), static_cast<int>((p >> 8) & 255), static_cast<int>(p & 255)};
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * static_cast<size_t>(height), Pack(fill)) {}

void Canvas::Set(int x, int y, Rgb c) {
  if (Inside(x, y)) pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = Pack(c);
}

Rgb Canvas::Get(int x, int y) const {
  if (!Inside(x, y)) return kBlack;
  return Unpack(pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)]);
}

void Canvas::Blend(int x, int y, Rgb c, double alpha) {
  if (Inside(x, y)) Set(x, y, Mix(Get(x, y), c, Clamp(alpha, 0.0, 1.0)));
}

void Canvas::FillRect(int x, int y, int w, int h, Rgb c) {
  for (int yy = y; yy < y + h; ++yy)
    for (int xx = x; xx < x + w; ++xx) Set(xx, yy, c);
}

void Canvas::Blit(const Canvas& src, int x, int y) {
  for (int yy = 0; yy < src.height(); ++yy)
    for (int xx = 0; xx < src.width(); ++xx) Set(x + xx, y + yy, src.Get(xx, yy));
}

void Canvas::BlitKeyed(const Canvas& src, int x, int y) {
  for (int yy = 0; yy < src.height(); ++yy)
    for (int xx = 0; xx < src.width(); ++xx) {
      Rgb c = src.Get(xx, yy);
      if (c != kBlack) Set(x + xx, y + yy, c);
    }
}

Canvas Canvas::Crop(int x, int y, int w, int h) const {
  Canvas out(w, h);
  for (int yy = 0; yy < h; ++yy)
    for (int xx = 0; xx < w; ++xx) out.Set(xx, yy, Get(x + xx, y + yy));
  return out;
}

Mask::Mask(int width, int height)
    : width_(width), height_(height), bits_(static_cast<size_t>(width) * static_cast<size_t>(height), 0) {}

int Mask::Count() const {
  int n = 0;
  for (uint8_t b : bits_) n += b;
  return n;
}

bool Mask::Bounds(int& x0, int& y0, int& x1, int& y1) const {
  x0 = width_;
  y0 = height_;
  x1 = -1;
  y1 = -1;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (Get(x, y)) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
      }
  return x1 >= 0;
}

Mask Shifted(const Mask& m, int dx, int dy) {
  Mask out(m.width(), m.height());
  for (int y = 0; y < m.height(); ++y)
    for (int x = 0; x < m.width(); ++x)
      if (m.Get(x - dx, y - dy)) out.Set(x, y);
  return out;
}

Mask Dilated(const Mask& m, int radius) {
  // Stamp a disc on every edge pixel: interior pixels add nothing new.
  Mask out = m;
  const int r2 = radius * radius + radius;  // a slightly fuller disc reads rounder
  int x0, y0, x1, y1;
  if (!m.Bounds(x0, y0, x1, y1)) return out;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      if (!m.Get(x, y)) continue;
      if (m.Get(x - 1, y) && m.Get(x + 1, y) && m.Get(x, y - 1) && m.Get(x, y + 1)) continue;
      for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
          if (dx * dx + dy * dy <= r2) out.Set(x + dx, y + dy);
    }
  return out;
}

Mask Minus(const Mask& a, const Mask& b) {
  Mask out(a.width(), a.height());
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.Get(x, y) && !b.Get(x, y)) out.Set(x, y);
  return out;
}

Mask Union(const Mask& a, const Mask& b) {
  Mask out(a.width(), a.height());
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.Get(x, y) || b.Get(x, y)) out.Set(x, y);
  return out;
}

std::vector<double> InsideDistance(const Mask& m) {
  // Two-pass 3-4 chamfer transform; distances in thirds of a pixel.
  const int w = m.width();
  const int h = m.height();
  const int kFar = 1 << 20;
  std::vector<int> d(static_cast<size_t>(w) * static_cast<size_t>(h));
  auto at = [&](int x, int y) -> int& { return d[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)]; };
  auto get = [&](int x, int y) { return (x < 0 || y < 0 || x >= w || y >= h) ? 0 : at(x, y); };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) at(x, y) = m.Get(x, y) ? kFar : 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (at(x, y) == 0) continue;
      int v = at(x, y);
      v = std::min(v, get(x - 1, y) + 3);
      v = std::min(v, get(x, y - 1) + 3);
      v = std::min(v, get(x - 1, y - 1) + 4);
      v = std::min(v, get(x + 1, y - 1) + 4);
      at(x, y) = v;
    }
  for (int y = h - 1; y >= 0; --y)
    for (int x = w - 1; x >= 0; --x) {
      if (at(x, y) == 0) continue;
      int v = at(x, y);
      v = std::min(v, get(x + 1, y) + 3);
      v = std::min(v, get(x, y + 1) + 3);
      v = std::min(v, get(x + 1, y + 1) + 4);
      v = std::min(v, get(x - 1, y + 1) + 4);
      at(x, y) = v;
    }
  std::vector<double> out(d.size());
  for (size_t i = 0; i < d.size(); ++i) out[i] = d[i] / 3.0;
  return out;
}

bool PointInPolygon(const std::vector<Pt>& poly, double x, double y) {
  bool inside = false;
  const size_t n = poly.size();
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    const Pt& a = poly[i];
    const Pt& b = poly[j];
    if ((a.y > y) != (b.y > y)) {
      const double xc = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
      if (x < xc) inside = !inside;
    }
  }
  return inside;
}

namespace {
template <typename Fn>
void ForPolygonPixels(int w, int h, const std::vector<Pt>& poly, Fn fn) {
  if (poly.size() < 3) return;
  double x0 = poly[0].x, x1 = poly[0].x, y0 = poly[0].y, y1 = poly[0].y;
  for (const Pt& p : poly) {
    x0 = std::min(x0, p.x);
    x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y);
    y1 = std::max(y1, p.y);
  }
  const int ix0 = std::max(0, static_cast<int>(std::floor(x0)));
  const int ix1 = std::min(w - 1, static_cast<int>(std::floor(x1)));
  const int iy0 = std::max(0, static_cast<int>(std::floor(y0)));
  const int iy1 = std::min(h - 1, static_cast<int>(std::floor(y1)));
  for (int y = iy0; y <= iy1; ++y)
    for (int x = ix0; x <= ix1; ++x)
      if (PointInPolygon(poly, x + 0.5, y + 0.5)) fn(x, y);
}
}  // namespace

void FillPolygon(Mask& m, const std::vector<Pt>& poly) {
  ForPolygonPixels(m.width(), m.height(), poly, [&](int x, int y) { m.Set(x, y); });
}

void FillPolygon(Canvas& c, const std::vector<Pt>& poly, Rgb colour) {
  ForPolygonPixels(c.width(), c.height(), poly, [&](int x, int y) { c.Set(x, y, colour); });
}

void StampSegment(Mask& m, Pt a, Pt b, double rx, double ry) {
  const int x0 = std::max(0, static_cast<int>(std::floor(std::min(a.x, b.x) - rx)) - 1);
  const int x1 = std::min(m.width() - 1, static_cast<int>(std::floor(std::max(a.x, b.x) + rx)) + 1);
  const int y0 = std::max(0, static_cast<int>(std::floor(std::min(a.y, b.y) - ry)) - 1);
  const int y1 = std::min(m.height() - 1, static_cast<int>(std::floor(std::max(a.y, b.y) + ry)) + 1);
  // Work in pen units so the elliptical pen becomes a unit circle.
  const double ax = a.x / rx, ay = a.y / ry;
  const double dx = b.x / rx - ax, dy = b.y / ry - ay;
  const double len2 = dx * dx + dy * dy;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const double px = (x + 0.5) / rx - ax;
      const double py = (y + 0.5) / ry - ay;
      double t = len2 > 0 ? (px * dx + py * dy) / len2 : 0.0;
      t = Clamp(t, 0.0, 1.0);
      const double ex = px - t * dx, ey = py - t * dy;
      if (ex * ex + ey * ey <= 1.0) m.Set(x, y);
    }
}

void FillDisc(Mask& m, double cx, double cy, double r) { StampSegment(m, {cx, cy}, {cx, cy}, r, r); }

void PaintMask(Canvas& c, const Mask& m, Rgb colour, int dx, int dy) {
  for (int y = 0; y < m.height(); ++y)
    for (int x = 0; x < m.width(); ++x)
      if (m.Get(x, y)) c.Set(x + dx, y + dy, colour);
}

std::vector<Pt> RegularPolygon(double cx, double cy, double radius, int sides, double rotation) {
  std::vector<Pt> out;
  for (int i = 0; i < sides; ++i) {
    const double a = rotation + kTwoPi * i / sides;
    out.push_back({cx + radius * Cos(a), cy + radius * Sin(a)});
  }
  return out;
}

std::vector<Pt> Shrunk(const std::vector<Pt>& poly, double cx, double cy, double k) {
  std::vector<Pt> out;
  for (const Pt& p : poly) out.push_back({cx + (p.x - cx) * k, cy + (p.y - cy) * k});
  return out;
}

}  // namespace art
