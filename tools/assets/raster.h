// A tiny paint toolkit: colours, canvases, coverage masks and the few
// shapes the game's pictures are built from. Everything lands on whole
// pixels (the game scales its screen nearest-neighbour, so crisp edges
// matter more than smooth ones).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace art {

struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
};

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

inline bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline bool operator!=(Rgb a, Rgb b) { return !(a == b); }

Rgb Mix(Rgb a, Rgb b, double t);       // t = 0 gives a, 1 gives b
Rgb Multiply(Rgb c, double k);         // brightness scale, clamped
Rgb Lift(Rgb c, double t);             // toward white (t > 0) or black (t < 0)
// Colour at t (0..1) along evenly spaced stops.
Rgb Ramp(std::initializer_list<Rgb> stops, double t);
Rgb Ramp(const std::vector<Rgb>& stops, double t);
// Never pure black: sprites key on exact black, so a dark colour that must
// stay visible is nudged to (1, 1, 1) at least.
Rgb NotBlack(Rgb c);

uint32_t Pack(Rgb c);  // 0x00RRGGBB
Rgb Unpack(uint32_t p);

struct Pt {
  double x = 0;
  double y = 0;
};

class Canvas {
 public:
  Canvas(int width, int height, Rgb fill = kBlack);
  int width() const { return width_; }
  int height() const { return height_; }
  const std::vector<uint32_t>& pixels() const { return pixels_; }

  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  void Set(int x, int y, Rgb c);       // ignored outside
  Rgb Get(int x, int y) const;         // black outside
  void Blend(int x, int y, Rgb c, double alpha);
  void FillRect(int x, int y, int w, int h, Rgb c);
  void Blit(const Canvas& src, int x, int y);       // every pixel
  void BlitKeyed(const Canvas& src, int x, int y);  // leaves out exact black
  Canvas Crop(int x, int y, int w, int h) const;

 private:
  int width_;
  int height_;
  std::vector<uint32_t> pixels_;
};

class Mask {
 public:
  Mask(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }
  bool Get(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_ && bits_[Index(x, y)] != 0;
  }
  void Set(int x, int y, bool on = true) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) bits_[Index(x, y)] = on ? 1 : 0;
  }
  int Count() const;
  // Bounding box of the set pixels; false when empty.
  bool Bounds(int& x0, int& y0, int& x1, int& y1) const;

 private:
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x); }
  int width_;
  int height_;
  std::vector<uint8_t> bits_;
};

Mask Shifted(const Mask& m, int dx, int dy);
Mask Dilated(const Mask& m, int radius);  // round structuring element
Mask Minus(const Mask& a, const Mask& b);
Mask Union(const Mask& a, const Mask& b);
// Chamfer distance (in pixels, approximately Euclidean) from each set pixel
// to the nearest unset one; 0 for unset pixels.
std::vector<double> InsideDistance(const Mask& m);

bool PointInPolygon(const std::vector<Pt>& poly, double x, double y);
// Pixels whose centres lie inside the polygon.
void FillPolygon(Mask& m, const std::vector<Pt>& poly);
void FillPolygon(Canvas& c, const std::vector<Pt>& poly, Rgb colour);
// Pixels whose centres lie within the ellipse (rx, ry) swept along a->b.
void StampSegment(Mask& m, Pt a, Pt b, double rx, double ry);
void FillDisc(Mask& m, double cx, double cy, double r);
void PaintMask(Canvas& c, const Mask& m, Rgb colour, int dx = 0, int dy = 0);

// A regular polygon (or circle approximation) around (cx, cy).
std::vector<Pt> RegularPolygon(double cx, double cy, double radius, int sides, double rotation);
// The polygon pulled toward (cx, cy) by factor k (0..1).
std::vector<Pt> Shrunk(const std::vector<Pt>& poly, double cx, double cy, double k);

}  // namespace art
