#include <algorithm>
#include <cstdlib>

#include "tools/assets/sounds.h"

namespace art {

bool CheckSound(const Sound& s, std::string* problem) {
  if (s.channels < 1 || s.channels > 2 || s.samples.empty() || s.samples.size() % static_cast<size_t>(s.channels) != 0) {
    *problem = "no whole frames";
    return false;
  }
  int peak = 0;
  for (int16_t v : s.samples) peak = std::max(peak, std::abs(static_cast<int>(v)));
  if (peak >= 32000) {
    *problem = "peaks at full scale";
    return false;
  }
  const size_t n = s.samples.size();
  const size_t ch = static_cast<size_t>(s.channels);
  for (size_t c = 0; c < ch; ++c) {
    const int first = s.samples[c];
    const int last = s.samples[n - ch + c];
    if (s.loops) {
      // Looped, the last sample must run on into the first (the mixer eases
      // the start of a cold play).
      if (std::abs(last - first) > 400) {
        *problem = "loop seam jumps";
        return false;
      }
    } else if (std::abs(first) > 64 || std::abs(last) > 64) {
      *problem = "does not start and end in silence";
      return false;
    }
  }
  return true;
}

}  // namespace art
