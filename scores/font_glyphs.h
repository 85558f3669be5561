// A caption font: the glyph images cut from its sheet and the characters
// they stand for (scores/bitmap_font.h cuts and draws them). Kept apart from
// that unit, which reads G, so that the global record can hold the fonts.
#pragma once

#include <string>

#include "platform/image.h"

struct BitmapFont {
  ImageId glyphs[61] = {};  // numbered from 1
  std::string charset;
  int advance = 0;
};
