// The font DrawTextAt writes with: a fixed-width bold bitmap font for
// printable ASCII, 9 by 16 pixels a character, drawn here in the source.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

constexpr int kSystemFontCellWidth = 9;
constexpr int kSystemFontCellHeight = 16;

// One character cell: 16 rows, top first; bit 15 of a row is the leftmost
// pixel of the cell. Bytes outside printable ASCII get a hollow box.
const uint16_t* SystemFontGlyph(unsigned char c);

inline int SystemFontTextWidth(std::string_view text) {
  return static_cast<int>(text.size()) * kSystemFontCellWidth;
}

}  // namespace platform
