// The Windows executable's icon: the desktop icon painted at the sizes
// Explorer, the taskbar and the window corner ask for, each stored as a PNG
// with its transparency, which every Windows since Vista reads.
//   stakko-icon-ico OUT.ico
#include <cstdio>
#include <fstream>
#include <vector>

#include "platform/little_endian.h"
#include "tools/packaging/app_icon.h"
#include "tools/sim/png_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT.ico\n", argv[0]);
    return 2;
  }
  using platform::AppendLe16;
  using platform::AppendLe32;
  const int sizes[] = {16, 24, 32, 48, 64, 128, 256};
  const int count = static_cast<int>(sizeof sizes / sizeof sizes[0]);
  const auto shapes = icon::DesktopIcon();
  std::vector<std::vector<uint8_t>> images;
  for (int size : sizes) {
    const auto pixels = icon::Paint(shapes, size);
    images.push_back(EncodePng(pixels.data(), size, size, true));
  }

  std::vector<uint8_t> ico;
  AppendLe16(ico, 0);  // reserved
  AppendLe16(ico, 1);  // an icon
  AppendLe16(ico, static_cast<uint32_t>(count));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(count);  // images follow the directory
  for (int k = 0; k < count; ++k) {
    ico.push_back(static_cast<uint8_t>(sizes[k] & 0xFF));  // 0 stands for 256
    ico.push_back(static_cast<uint8_t>(sizes[k] & 0xFF));
    ico.push_back(0);  // no palette
    ico.push_back(0);  // reserved
    AppendLe16(ico, 1);   // colour planes
    AppendLe16(ico, 32);  // bits per pixel
    AppendLe32(ico, static_cast<uint32_t>(images[k].size()));
    AppendLe32(ico, offset);
    offset += static_cast<uint32_t>(images[k].size());
  }
  for (const auto& image : images) ico.insert(ico.end(), image.begin(), image.end());

  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(ico.data()), static_cast<std::streamsize>(ico.size()));
  if (!out) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
