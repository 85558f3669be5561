// Writes the desktop icon into a hicolor icon theme tree:
//   stakko-desktop-icons OUT_DIR APP_ID
// gives OUT_DIR/<n>x<n>/apps/APP_ID.png for each size below and
// OUT_DIR/scalable/apps/APP_ID.svg.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/packaging/app_icon.h"
#include "tools/sim/png_writer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s OUT_DIR APP_ID\n", argv[0]);
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path out = argv[1];
  const std::string id = argv[2];
  const auto shapes = icon::DesktopIcon();
  std::error_code ec;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    const fs::path dir = out / name / "apps";
    fs::create_directories(dir, ec);
    const auto pixels = icon::Paint(shapes, size);
    if (!WritePng((dir / (id + ".png")).string(), pixels.data(), size, size, true)) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], (dir / (id + ".png")).c_str());
      return 1;
    }
  }
  const fs::path dir = out / "scalable" / "apps";
  fs::create_directories(dir, ec);
  std::ofstream svg(dir / (id + ".svg"), std::ios::binary);
  svg << icon::Svg(shapes);
  svg.close();
  if (!svg) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], (dir / (id + ".svg")).c_str());
    return 1;
  }
  return 0;
}
