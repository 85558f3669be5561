// Appending little-endian numbers to a byte buffer, as our file formats
// (bitmaps, waves, the high-score table) store them.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

inline void AppendLe16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void AppendLe32(std::vector<uint8_t>& out, uint32_t v) {
  AppendLe16(out, v & 0xFFFF);
  AppendLe16(out, v >> 16);
}

}  // namespace platform
