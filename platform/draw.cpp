// Boxes, lines and text drawn in software on the back buffer inside the
// open drawing session. Everything is clipped to the buffer; positions are
// worked out in 64 bits so no argument can overflow into a wild write.
#include "platform/draw.h"

#include <algorithm>
#include <cstdint>

#include "platform/internal/back_buffer.h"
#include "platform/system_font.h"

namespace {

constexpr int64_t kW = platform::kBackBufferWidth;
constexpr int64_t kH = platform::kBackBufferHeight;

bool OnScreen(int64_t x, int64_t y) { return x >= 0 && y >= 0 && x < kW && y < kH; }

uint32_t& PixelAt(int64_t x, int64_t y) { return platform::BackBufferPixels()[y * kW + x]; }

// Colours, or inverts, the half-open span [x0, x1) of row y, clipped.
void Span(int64_t y, int64_t x0, int64_t x1, uint32_t pixel, bool invert) {
  if (y < 0 || y >= kH) return;
  x0 = std::max<int64_t>(x0, 0);
  x1 = std::min<int64_t>(x1, kW);
  if (x0 >= x1) return;
  uint32_t* row = platform::BackBufferPixels() + y * kW;
  if (invert) {
    for (int64_t x = x0; x < x1; ++x) row[x] ^= 0x00FFFFFFu;
  } else {
    std::fill(row + x0, row + x1, pixel);
  }
}

}  // namespace

void SetPenColour(Colour colour) {
  if (auto* s = platform::CurrentSession()) s->penColour = colour;
}

void SetTextBackColour(Colour colour) {
  if (auto* s = platform::CurrentSession()) s->textBackColour = colour;
}

void SetPaintMode(unsigned flags) {
  if (auto* s = platform::CurrentSession()) s->paintMode = flags;
}

void FillBox(int x, int y, int w, int h) {
  const platform::DrawingSession* s = platform::CurrentSession();
  if (s == nullptr) return;
  const uint32_t pen = platform::ColourToPixel(s->penColour);
  int64_t px = int64_t{x} + s->originX;
  int64_t py = int64_t{y} + s->originY;

  // A one-by-one box is a single pixel in the pen colour, whatever the mode.
  if ((w == 1 || w == -1) && (h == 1 || h == -1)) {
    if (w == -1) --px;
    if (h == -1) --py;
    if (OnScreen(px, py)) PixelAt(px, py) = pen;
    return;
  }

  // Otherwise the box between the corners (x, y) and (x + w, y + h),
  // excluding the far row and column, whichever way round they are given.
  const int64_t left = std::min(px, px + w);
  const int64_t right = std::max(px, px + w);
  const int64_t top = std::min(py, py + h);
  const int64_t bottom = std::max(py, py + h);
  if (left >= right || top >= bottom) return;
  const bool invert = (s->paintMode & PaintInvert) != 0;

  if ((s->paintMode & PaintOutline) == 0) {
    for (int64_t row = std::max<int64_t>(top, 0); row < std::min(bottom, kH); ++row) {
      Span(row, left, right, pen, invert);
    }
    return;
  }
  // Outline: each border pixel once, so inverting the corners twice cannot
  // cancel out.
  Span(top, left, right, pen, invert);
  if (bottom - 1 > top) Span(bottom - 1, left, right, pen, invert);
  for (int64_t row = std::max<int64_t>(top + 1, 0); row < std::min(bottom - 1, kH); ++row) {
    Span(row, left, left + 1, pen, invert);
    if (right - 1 > left) Span(row, right - 1, right, pen, invert);
  }
}

void DrawLine(int x, int y, int w, int h) {
  const platform::DrawingSession* s = platform::CurrentSession();
  if (s == nullptr || w == 0 || h == 0) return;
  const uint32_t pen = platform::ColourToPixel(s->penColour);
  const bool invert = (s->paintMode & PaintInvert) != 0;
  // The line runs from (x, y) to (x + w', y + h'), where w' and h' are one
  // step nearer zero; every pixel but the last follows the mix mode, the last
  // is set to the pen colour so both end points are always drawn.
  const int64_t x0 = int64_t{x} + s->originX;
  const int64_t y0 = int64_t{y} + s->originY;
  const int64_t dx = w > 0 ? int64_t{w} - 1 : int64_t{w} + 1;
  const int64_t dy = h > 0 ? int64_t{h} - 1 : int64_t{h} + 1;

  // Walk the longer axis; only the steps that land on the buffer along it
  // are visited, so a line of any length costs at most a screen's width.
  const bool alongX = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
  const int64_t major = alongX ? dx : dy;
  const int64_t minor = alongX ? dy : dx;
  const int64_t steps = major < 0 ? -major : major;
  const int64_t dir = major < 0 ? -1 : 1;
  const int64_t start = alongX ? x0 : y0;
  const int64_t limit = alongX ? kW : kH;
  // Steps i in [0, steps) with start + dir * i inside [0, limit).
  int64_t first = dir > 0 ? -start : start - (limit - 1);
  int64_t last = dir > 0 ? limit - 1 - start : start;
  first = std::max<int64_t>(first, 0);
  last = std::min<int64_t>(last, steps - 1);
  for (int64_t i = first; i <= last; ++i) {
    // The minor coordinate rounded to nearest, halves away from the start.
    const int64_t num = 2 * i * (minor < 0 ? -minor : minor) + steps;
    const int64_t offset = (minor < 0 ? -1 : 1) * (num / (2 * steps));
    const int64_t px = alongX ? start + dir * i : x0 + offset;
    const int64_t py = alongX ? y0 + offset : start + dir * i;
    if (!OnScreen(px, py)) continue;
    uint32_t& p = PixelAt(px, py);
    p = invert ? p ^ 0x00FFFFFFu : pen;
  }
  if (OnScreen(x0 + dx, y0 + dy)) PixelAt(x0 + dx, y0 + dy) = pen;
}

int DrawTextAt(int x, int y, const std::string& text) {
  const platform::DrawingSession* s = platform::CurrentSession();
  if (s == nullptr || text.empty()) return x;
  const uint32_t pen = platform::ColourToPixel(s->penColour);
  const uint32_t back = platform::ColourToPixel(s->textBackColour);
  const bool opaque = (s->paintMode & PaintTransparentText) == 0;
  const int64_t left = int64_t{x} + s->originX;
  const int64_t top = int64_t{y} + s->originY;
  constexpr int cw = platform::kSystemFontCellWidth;
  constexpr int ch = platform::kSystemFontCellHeight;

  const int64_t rowFirst = std::max<int64_t>(0, -top);
  const int64_t rowEnd = std::min<int64_t>(ch, kH - top);
  for (size_t i = 0; i < text.size(); ++i) {
    const int64_t cellX = left + static_cast<int64_t>(i) * cw;
    if (cellX >= kW) break;
    if (cellX + cw <= 0) continue;
    const uint16_t* glyph = platform::SystemFontGlyph(static_cast<unsigned char>(text[i]));
    const int colFirst = static_cast<int>(std::max<int64_t>(0, -cellX));
    const int colEnd = static_cast<int>(std::min<int64_t>(cw, kW - cellX));
    for (int64_t row = rowFirst; row < rowEnd; ++row) {
      uint32_t* dst = platform::BackBufferPixels() + (top + row) * kW + cellX;
      const unsigned bits = glyph[row];
      for (int col = colFirst; col < colEnd; ++col) {
        if ((bits & (0x8000u >> col)) != 0) {
          dst[col] = pen;
        } else if (opaque) {
          dst[col] = back;
        }
      }
    }
  }
  // Same sum as MeasureTextWidth, so callers can line text up either way.
  return static_cast<int>(std::min<int64_t>(int64_t{x} + MeasureTextWidth(text), INT32_MAX));
}

int MeasureTextWidth(const std::string& text) {
  // Clamp absurdly long strings rather than overflow.
  const size_t maxChars = static_cast<size_t>(INT32_MAX / platform::kSystemFontCellWidth);
  return static_cast<int>(std::min(text.size(), maxChars)) * platform::kSystemFontCellWidth;
}
