// The same frames as compose_bench, done with SDL's own surface blits
// (colour key for the keyed sprites), for comparison: with every surface in
// the screen's 32-bit layout (the fair match), and with the pictures left
// in 24 bits as SDL_LoadBMP reads the game's files (what a direct port
// would do).
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/compose_scene.h"
#include "bench/sdl_reference_blits.h"

namespace {

struct SdlScene {
  platform::SdlReferenceBlits sdl;
  int title = -1;
  std::vector<int> cells;
  std::vector<int> glyphs;
  std::vector<int> sprites;

  // packed24: the pictures stay in the 24-bit layout of the game's files.
  explicit SdlScene(bool packed24) {
    auto add = [&](int w, int h, uint32_t seed, bool keyed) {
      const std::vector<uint32_t> p = bench::MakePicture(w, h, seed);
      return sdl.AddSurface(p.data(), w, h, keyed, packed24);
    };
    title = add(bench::kW, bench::kH, 1, false);
    const int jewels = add(32 * 7, 32, 2, false);
    const int font = add(32 * 10, 28, 3, false);
    for (int i = 0; i < bench::kCells; ++i) cells.push_back(sdl.CutSurface(jewels, 32 * (i % 7), 0, 32, 32));
    for (int i = 0; i < bench::kGlyphs; ++i) glyphs.push_back(sdl.CutSurface(font, 32 * (i % 10), 0, 32, 28));
    for (int i = 0; i < bench::kSprites; ++i)
      sprites.push_back(add(bench::kSpriteSize, bench::kSpriteSize, 4, true));
  }
};

void BM_SdlTitleWaveFrame(benchmark::State& state) {
  SdlScene scene(state.range(0) != 0);
  int frame = 0;
  for (auto _ : state) {
    scene.sdl.Clear(0);
    for (int row = 0; row < bench::kH; ++row) {
      const int line = scene.sdl.CutSurface(scene.title, 0, row, bench::kW, 1);
      scene.sdl.Blit(line, bench::WaveShift(row, frame), row);
      scene.sdl.FreeSurface(line);
    }
    ++frame;
    benchmark::DoNotOptimize(scene.sdl.Pixels());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SdlTitleWaveFrame)->ArgName("packed24")->Arg(0)->Arg(1);

void BM_SdlPlayFrame(benchmark::State& state) {
  SdlScene scene(state.range(0) != 0);
  for (auto _ : state) {
    scene.sdl.Clear(0);
    for (int i = 0; i < bench::kCells; ++i) {
      int x, y;
      bench::CellPosition(i, x, y);
      scene.sdl.Blit(scene.cells[i], x, y);
    }
    for (int i = 0; i < bench::kGlyphs; ++i) {
      int x, y;
      bench::GlyphPosition(i, x, y);
      scene.sdl.Blit(scene.glyphs[i], x, y);
    }
    for (int i = 0; i < bench::kSprites; ++i) {
      int x, y;
      bench::SpritePosition(i, x, y);
      scene.sdl.Blit(scene.sprites[i], x, y);
    }
    benchmark::DoNotOptimize(scene.sdl.Pixels());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SdlPlayFrame)->ArgName("packed24")->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
