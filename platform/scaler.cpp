#include "platform/scaler.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace platform {

Placement PlaceInside(int w, int h, int dstW, int dstH) {
  Placement p;
  p.factor = std::max(1, std::min(dstW / w, dstH / h));
  p.cols = std::min(w, dstW / p.factor);
  p.rows = std::min(h, dstH / p.factor);
  p.left = (dstW - p.cols * p.factor) / 2;
  p.top = (dstH - p.rows * p.factor) / 2;
  return p;
}

// Each source row is widened once and the copies below it are plain row
// copies; the letterbox is cleared once per surface by the caller, not
// every frame.
void ScaleInto(const uint32_t* src, int w, const Placement& p, uint8_t* dstBytes, int dstPitch) {
  const int k = p.factor;
  const size_t rowBytes = static_cast<size_t>(p.cols) * k * 4;
  uint8_t* line = dstBytes + static_cast<size_t>(p.top) * dstPitch + static_cast<size_t>(p.left) * 4;
  for (int sy = 0; sy < p.rows; ++sy) {
    const uint32_t* s = src + static_cast<size_t>(sy) * w;
    uint32_t* d = reinterpret_cast<uint32_t*>(line);
    if (k == 1) {
      std::memcpy(d, s, rowBytes);
    } else if (k == 2) {
      for (int x = 0; x < p.cols; ++x) {
        d[2 * x] = s[x];
        d[2 * x + 1] = s[x];
      }
    } else {
      for (int x = 0; x < p.cols; ++x) {
        const uint32_t v = s[x];
        uint32_t* o = d + static_cast<size_t>(x) * k;
        for (int r = 0; r < k; ++r) o[r] = v;
      }
    }
    uint8_t* first = line;
    line += dstPitch;
    for (int r = 1; r < k; ++r, line += dstPitch) std::memcpy(line, first, rowBytes);
  }
}

}  // namespace platform
