// libFuzzer target for the bitmap decoder: any input must either be refused
// or decode to a picture of exactly the size it claims, without touching
// memory outside the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/bitmap_file.h"

namespace {

// The claimed width times height of a bitmap with an information header.
// Pictures the decoder accepts may be up to 16 million pixels, but decoding
// such a claim costs a second or more; the fuzzer learns nothing from it and
// would slow to a few runs a second, so it leaves those claims alone.
bool ClaimsHugePicture(const uint8_t* data, size_t size) {
  if (size < 26) return false;
  auto le32 = [&](size_t at) {
    return static_cast<int32_t>(static_cast<uint32_t>(data[at]) | static_cast<uint32_t>(data[at + 1]) << 8 |
                                static_cast<uint32_t>(data[at + 2]) << 16 | static_cast<uint32_t>(data[at + 3]) << 24);
  };
  int64_t width = le32(18), height = le32(22);
  return std::llabs(width) * std::llabs(height) > (int64_t{1} << 20);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (ClaimsHugePicture(data, size)) return 0;
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
