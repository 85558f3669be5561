// Pieces shared by the full-screen pictures: the night-sky backdrop,
// framed panels, key caps and text in the game's lettering styles.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "tools/assets/glyphs.h"
#include "tools/assets/lettering.h"
#include "tools/assets/raster.h"

namespace art {

// Deep-blue gradient with a scatter of stars; `sky` gives the gradient's
// evenly spaced stops from top to bottom.
void PaintBackdrop(Canvas& c, uint32_t seed);
void PaintBackdrop(Canvas& c, uint32_t seed, const std::vector<Rgb>& sky);
// A soft round glow blended over the picture.
void PaintGlow(Canvas& c, double cx, double cy, double rx, double ry, Rgb colour, double strength);
// A rounded panel: darkened inside, thin light border.
void PaintPanel(Canvas& c, int x, int y, int w, int h, Rgb border);
// A keyboard key with a label (text, or an arrow when label is "<", ">", "^").
void PaintKeyCap(Canvas& c, int x, int y, int w, int h, std::string_view label);

// Body text (white to pale blue) and gold captions.
LetterStyle BodyStyle();
LetterStyle CaptionStyle();
// Text with its top-left at (x, y); the style's gradient is fitted to it.
void PaintText(Canvas& c, std::string_view text, double x, double y, const Pen& pen, double advance, LetterStyle style);
// The same, centred on cx.
void PaintTextCentred(Canvas& c, std::string_view text, double cx, double y, const Pen& pen, double advance,
                      const LetterStyle& style);

// Pens of the common sizes.
inline constexpr Pen kSmallPen{2.0, 2.0, 1.0, 1.0};      // 10x14
inline constexpr Pen kMediumPen{3.0, 3.0, 1.5, 1.5};     // 15x21

}  // namespace art
