// The exit dialog's pointer and the window icon.
#include "tools/assets/jewels.h"
#include "tools/assets/pictures.h"

namespace art {

Canvas CursorSprite() {
  // A classic arrow with its tip on the top-left pixel; black around it is
  // the sprite's transparent key.
  Canvas c(32, 32);
  Mask arrow(32, 32);
  FillPolygon(arrow, {{0, 0}, {0.2, 0}, {17.6, 17.2}, {11, 17.2}, {14.8, 25.2}, {11.4, 26.8}, {7.6, 18.6}, {0.2, 23.6}, {0, 23.6}});
  arrow.Set(0, 0);
  const Rgb rim{24, 26, 44};
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      if (!arrow.Get(x, y)) continue;
      const bool edge = !arrow.Get(x - 1, y) || !arrow.Get(x + 1, y) || !arrow.Get(x, y - 1) || !arrow.Get(x, y + 1) || x == 0 || y == 0;
      c.Set(x, y, edge ? rim : Mix({255, 255, 255}, {188, 200, 228}, (x + y) / 36.0));
    }
  return c;
}

Canvas WindowIcon() {
  // A falling column of three stones on a well tile.
  Canvas c(64, 64);
  const Canvas tile = WellTile();
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) c.Set(x, y, tile.Get(x / 2, y / 2));
  DrawJewel(c, 16, -5, 1, 0.66);
  DrawJewel(c, 16, 16, 4, 0.66);
  DrawJewel(c, 16, 37, 3, 0.66);
  return c;
}

}  // namespace art
