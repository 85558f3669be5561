// libFuzzer target for the bitmap decoder: any input must either be refused
// or decode to a picture of exactly the size it claims, without touching
// memory outside the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/bitmap_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto decoded = platform::DecodeBitmap(data, size);
  if (decoded) {
    const size_t pixels = static_cast<size_t>(decoded->width) * static_cast<size_t>(decoded->height);
    if (decoded->width <= 0 || decoded->height <= 0 || decoded->pixels.size() != pixels) std::abort();
    for (uint32_t p : decoded->pixels) {
      if ((p & 0xFF000000u) != 0) std::abort();  // the top byte stays clear
    }
  }
  return 0;
}
