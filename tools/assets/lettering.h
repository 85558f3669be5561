// Styled lettering: gradient fill, bevelled edges, outline and drop shadow
// painted from a coverage mask. Titles, headings and font glyphs share it
// so the whole game speaks with one visual voice.
#pragma once

#include <vector>

#include "tools/assets/raster.h"

namespace art {

struct LetterStyle {
  std::vector<Rgb> fill;   // top to bottom over [fillTop, fillBottom]
  double fillTop = 0;
  double fillBottom = 1;
  double bevelWidth = 0;   // pixels of lit/shaded rim inside the letters
  double bevelLight = 0.5; // how far the rim moves toward white or black
  Rgb outline{};
  int outlineWidth = 0;
  Rgb shadow{};
  int shadowX = 0;         // offset of the shadow of the outlined shape
  int shadowY = 0;
};

void PaintLettering(Canvas& c, const Mask& body, const LetterStyle& style);

// Shared palette of the game's lettering.
LetterStyle GoldLettering(double top, double bottom);

}  // namespace art
