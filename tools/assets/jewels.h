// The six jewels and the empty-well tile they sit on.
#pragma once

#include "tools/assets/raster.h"

namespace art {

constexpr int kCell = 32;
constexpr int kJewelKinds = 6;

// The night navy of the well: an empty cell's face, and the colour the title
// picture settles into where the attract fountain's jewels fly, so that the
// square behind each flying jewel melts into the sky.
constexpr Rgb kWellNavy{21, 19, 54};

// The 32x32 tile of an empty well cell; it repeats seamlessly.
Canvas WellTile();
// Jewel kind 1..6 drawn over whatever the canvas holds, its 32x32 cell at
// (x, y) scaled by `scale` about the cell centre.
void DrawJewel(Canvas& c, int x, int y, int kind, double scale = 1.0);
// Jewels.bmp: the well tile, then the six jewels on it.
Canvas JewelSheet();

}  // namespace art
