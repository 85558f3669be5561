// The desktop icon: a column of three jewels falling down a well, described
// once as flat-coloured polygons on a 256-unit square. The same description
// is painted at every pixel size a desktop asks for (each size drawn afresh,
// never scaled from another) and written out as the scalable SVG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/assets/raster.h"

namespace icon {

constexpr double kUnits = 256.0;  // the description's square, and the SVG's viewBox

struct Shape {
  std::vector<art::Pt> points;  // a closed polygon, in units
  art::Rgb colour;
  double opacity = 1.0;
};

// Painted back to front.
std::vector<Shape> DesktopIcon();

// The shapes painted on a size x size transparent square, 0xAARRGGBB per
// pixel (straight alpha), each pixel the average of a grid of exact samples.
std::vector<uint32_t> Paint(const std::vector<Shape>& shapes, int size);

// The shapes as an SVG document.
std::string Svg(const std::vector<Shape>& shapes);

}  // namespace icon
