// Turns the generated window icon (a bitmap) into the .ico the Windows
// executable carries as its icon resource: one image, stored as PNG, which
// every Windows since Vista reads.
//   stakko-icon-ico IN.bmp OUT.ico
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/bitmap_file.h"
#include "platform/little_endian.h"
#include "tools/sim/png_writer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s IN.bmp OUT.ico\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto bitmap = platform::DecodeBitmap(data.data(), data.size());
  if (!bitmap || bitmap->width > 256 || bitmap->height > 256) {
    std::fprintf(stderr, "%s: %s is not a bitmap icon we can use\n", argv[0], argv[1]);
    return 1;
  }
  std::vector<uint8_t> png = EncodePng(bitmap->pixels.data(), bitmap->width, bitmap->height);

  using platform::AppendLe16;
  using platform::AppendLe32;
  std::vector<uint8_t> ico;
  AppendLe16(ico, 0);  // reserved
  AppendLe16(ico, 1);  // an icon
  AppendLe16(ico, 1);  // one image
  ico.push_back(static_cast<uint8_t>(bitmap->width & 0xFF));  // 0 stands for 256
  ico.push_back(static_cast<uint8_t>(bitmap->height & 0xFF));
  ico.push_back(0);  // no palette
  ico.push_back(0);  // reserved
  AppendLe16(ico, 1);   // colour planes
  AppendLe16(ico, 32);  // bits per pixel
  AppendLe32(ico, static_cast<uint32_t>(png.size()));
  AppendLe32(ico, 6 + 16);  // the image follows this one directory entry
  ico.insert(ico.end(), png.begin(), png.end());

  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(ico.data()), static_cast<std::streamsize>(ico.size()));
  if (!out) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
    return 1;
  }
  return 0;
}
