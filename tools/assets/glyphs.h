// The game's own letter shapes: one 5x7 design per character, drawn at any
// size by sweeping a pen between neighbouring design dots (straight strokes
// stay straight, diagonal steps become smooth slants).
#pragma once

#include <string_view>

#include "tools/assets/raster.h"

namespace art {

// Seven rows of five characters, '#' for ink; nullptr when the character
// has no design. The space has an (empty) design.
const char* const* GlyphDesign(char c);

struct Pen {
  double stepX = 2;   // pixels between design columns
  double stepY = 2;   // pixels between design rows
  double radiusX = 1; // pen half-width
  double radiusY = 1; // pen half-height
};

// Width and height in pixels of one glyph drawn with the pen.
double GlyphWidth(const Pen& pen);
double GlyphHeight(const Pen& pen);

// Stamps one glyph with its top-left ink corner at (x, y).
void StampGlyph(Mask& m, char c, double x, double y, const Pen& pen);
// Stamps text with a fixed advance; returns the pen position after it.
double StampText(Mask& m, std::string_view text, double x, double y, const Pen& pen, double advance);
double TextWidth(std::string_view text, const Pen& pen, double advance);

}  // namespace art
