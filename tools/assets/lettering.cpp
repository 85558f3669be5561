#include "tools/assets/lettering.h"

#include <cmath>

#include "tools/assets/mathx.h"

namespace art {

void PaintLettering(Canvas& c, const Mask& body, const LetterStyle& s) {
  Mask outlined = s.outlineWidth > 0 ? Dilated(body, s.outlineWidth) : body;
  if (s.shadowX != 0 || s.shadowY != 0) PaintMask(c, outlined, s.shadow, s.shadowX, s.shadowY);
  if (s.outlineWidth > 0) PaintMask(c, outlined, s.outline);

  std::vector<double> dist;
  if (s.bevelWidth > 0) dist = InsideDistance(body);
  const int w = body.width();
  auto d = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= w || y >= body.height()) return 0.0;
    const double v = dist[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)];
    return v < s.bevelWidth ? v : s.bevelWidth;
  };
  // Light falls from the upper left.
  const double lx = -0.6, ly = -0.8;
  const double span = s.fillBottom > s.fillTop ? s.fillBottom - s.fillTop : 1.0;
  for (int y = 0; y < body.height(); ++y)
    for (int x = 0; x < w; ++x) {
      if (!body.Get(x, y)) continue;
      Rgb col = Ramp(s.fill, (y + 0.5 - s.fillTop) / span);
      if (s.bevelWidth > 0 && d(x, y) < s.bevelWidth) {
        const double gx = d(x + 1, y) - d(x - 1, y);
        const double gy = d(x, y + 1) - d(x, y - 1);
        const double len = std::sqrt(gx * gx + gy * gy);
        if (len > 0) {
          // The rim faces away from the letter's inside.
          const double facing = (-gx * lx - gy * ly) / len;
          col = Lift(col, facing * s.bevelLight);
        }
      }
      c.Set(x, y, col);
    }
}

LetterStyle GoldLettering(double top, double bottom) {
  LetterStyle s;
  s.fill = {{255, 252, 214}, {255, 226, 110}, {247, 176, 38}, {214, 116, 18}, {255, 196, 70}};
  s.fillTop = top;
  s.fillBottom = bottom;
  s.bevelWidth = 2;
  s.bevelLight = 0.55;
  s.outline = {58, 26, 6};
  s.outlineWidth = 1;
  s.shadow = {20, 8, 30};
  s.shadowX = 2;
  s.shadowY = 2;
  return s;
}

}  // namespace art
