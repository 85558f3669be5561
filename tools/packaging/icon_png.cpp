// Turns the generated window icon (a bitmap) into the PNG a desktop wants,
// at build time, with our own decoder and writer.
//   stakko-icon-png IN.bmp OUT.png
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/bitmap_file.h"
#include "tools/sim/png_writer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s IN.bmp OUT.png\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) {
    std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
    return 1;
  }
  auto bitmap = platform::DecodeBitmap(data.data(), data.size());
  if (!bitmap) {
    std::fprintf(stderr, "%s: %s is not a bitmap we can read\n", argv[0], argv[1]);
    return 1;
  }
  if (!WritePng(argv[2], bitmap->pixels.data(), bitmap->width, bitmap->height)) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
    return 1;
  }
  return 0;
}
