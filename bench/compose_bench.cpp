// What one frame of composition costs: the title wave, a play-like frame,
// and a plain copy of a whole frame as the yardstick.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench/compose_scene.h"
#include "platform/bitmap_file.h"
#include "platform/draw.h"
#include "platform/headless/headless_backend.h"
#include "platform/image.h"
#include "platform/internal/state_reset.h"
#include "platform/screen.h"

namespace fs = std::filesystem;

namespace {

struct Scene {
  platform::HeadlessBackend backend;
  fs::path dir;
  ImageId title = 0;
  std::vector<ImageId> cells;
  std::vector<ImageId> glyphs;
  std::vector<SpriteId> sprites;

  std::string Write(const char* name, int w, int h, uint32_t seed) {
    const std::vector<uint32_t> p = bench::MakePicture(w, h, seed);
    const std::string path = (dir / name).string();
    platform::WriteBitmap24(path, p.data(), w, h);
    return path;
  }

  Scene() {
    platform::ResetAllPlatformState();
    backend.captureLastFrame = false;
    platform::SetBackend(&backend);
    StartScreenSystem();
    OpenGameScreen(bench::kW, bench::kH, 32, "bench", 0);
    dir = fs::temp_directory_path() / ("stakko-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    title = LoadImageFile(Write("title.bmp", bench::kW, bench::kH, 1));
    const ImageId jewels = LoadImageFile(Write("jewels.bmp", 32 * 7, 32, 2));
    const ImageId font = LoadImageFile(Write("font.bmp", 32 * 10, 28, 3));
    for (int i = 0; i < bench::kCells; ++i) cells.push_back(CutImage(jewels, 32 * (i % 7), 0, 32, 32));
    for (int i = 0; i < bench::kGlyphs; ++i) glyphs.push_back(CutImage(font, 32 * (i % 10), 0, 32, 28));
    const std::string sprite = Write("sprite.bmp", bench::kSpriteSize, bench::kSpriteSize, 4);
    for (int i = 0; i < bench::kSprites; ++i) sprites.push_back(LoadSpriteFile(sprite));
    fs::remove_all(dir);
  }
  ~Scene() {
    platform::ResetAllPlatformState();
    platform::SetBackend(nullptr);
  }
};

void BM_MemcpyFrame(benchmark::State& state) {
  std::vector<uint32_t> src = bench::MakePicture(bench::kW, bench::kH, 9);
  std::vector<uint32_t> dst(src.size());
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), src.size() * sizeof(uint32_t));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemcpyFrame);

void BM_TitleWaveFrame(benchmark::State& state) {
  Scene scene;
  int frame = 0;
  for (auto _ : state) {
    ClearBackBuffer(0);
    for (int row = 0; row < bench::kH; ++row) {
      const ImageId line = CutImage(scene.title, 0, row, bench::kW, 1);
      BeginScreenDrawing();
      BlitImage(line, bench::WaveShift(row, frame), row);
      EndScreenDrawing();
      ReleaseImage(line);
    }
    ++frame;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TitleWaveFrame);

void BM_PlayFrame(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) {
    ClearBackBuffer(0);
    BeginScreenDrawing();
    for (int i = 0; i < bench::kCells; ++i) {
      int x, y;
      bench::CellPosition(i, x, y);
      BlitImage(scene.cells[i], x, y);
    }
    EndScreenDrawing();
    for (int i = 0; i < bench::kGlyphs; ++i) {
      int x, y;
      bench::GlyphPosition(i, x, y);
      BeginScreenDrawing();
      BlitImage(scene.glyphs[i], x, y);
      EndScreenDrawing();
    }
    for (int i = 0; i < bench::kSprites; ++i) {
      int x, y;
      bench::SpritePosition(i, x, y);
      DisplaySpriteKeyed(scene.sprites[i], x, y);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlayFrame);

}  // namespace

BENCHMARK_MAIN();
