#include <cstdio>

#include "platform/bitmap_file.h"
#include "platform/little_endian.h"

namespace platform {

std::vector<uint8_t> EncodeBitmap24(const uint32_t* pixels, int width, int height) {
  const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t dataBytes = rowBytes * static_cast<uint32_t>(height);
  std::vector<uint8_t> out;
  out.reserve(54 + dataBytes);
  out.push_back('B');
  out.push_back('M');
  AppendLe32(out, 54 + dataBytes);
  AppendLe32(out, 0);   // reserved words
  AppendLe32(out, 54);  // pixel data offset
  AppendLe32(out, 40);  // BITMAPINFOHEADER
  AppendLe32(out, static_cast<uint32_t>(width));
  AppendLe32(out, static_cast<uint32_t>(height));  // positive: bottom-up
  AppendLe16(out, 1);
  AppendLe16(out, 24);
  AppendLe32(out, 0);  // BI_RGB
  AppendLe32(out, dataBytes);
  AppendLe32(out, 2835);  // 72 dpi
  AppendLe32(out, 2835);
  AppendLe32(out, 0);
  AppendLe32(out, 0);
  for (int y = height - 1; y >= 0; --y) {
    const uint32_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
    for (int x = 0; x < width; ++x) {
      out.push_back(static_cast<uint8_t>(row[x]));        // blue
      out.push_back(static_cast<uint8_t>(row[x] >> 8));   // green
      out.push_back(static_cast<uint8_t>(row[x] >> 16));  // red
    }
    for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  return out;
}

bool WriteBitmap24(const std::string& path, const uint32_t* pixels, int width, int height) {
  std::vector<uint8_t> bytes = EncodeBitmap24(pixels, width, height);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

}  // namespace platform
