// Windows bitmap files: decoding every layout the game accepts into pixels
// of the back buffer's layout, and writing 24-bit files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct DecodedBitmap {
  int width = 0;
  int height = 0;
  int sourceDepth = 0;            // bits per pixel of the file
  std::vector<uint32_t> pixels;   // 0x00RRGGBB, top row first
};

// Refuses (nullopt) anything malformed or outside the accepted layouts;
// never reads outside [data, data + size).
std::optional<DecodedBitmap> DecodeBitmap(const uint8_t* data, size_t size);

// A 24-bit bottom-up file of the pixels (0x00RRGGBB, top row first).
std::vector<uint8_t> EncodeBitmap24(const uint32_t* pixels, int width, int height);
bool WriteBitmap24(const std::string& path, const uint32_t* pixels, int width, int height);

}  // namespace platform
