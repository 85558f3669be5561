// What enlarging one 640x480 frame costs on the processor: the whole-factor
// scaler against the filling scaler (maps of source columns and rows) at
// the same output size, and the filling scaler at the sizes common screens
// give it. Output pixels a second (items) compare the two directly.
//   build-bench/bench/scaler_bench
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/fill_scaler.h"
#include "platform/scaler.h"

namespace {

std::vector<uint32_t> Picture() {
  std::vector<uint32_t> p(640 * 480);
  for (size_t i = 0; i < p.size(); ++i) p[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFFu;
  return p;
}

// args: destination width and height; the whole picture is placed by the
// largest whole factor.
void BM_Integer(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0));
  const int h = static_cast<int>(state.range(1));
  const std::vector<uint32_t> src = Picture();
  std::vector<uint32_t> dst(static_cast<size_t>(w) * h);
  const platform::Placement p = platform::PlaceInside(640, 480, w, h);
  for (auto _ : state) {
    platform::ScaleInto(src.data(), 640, p, reinterpret_cast<uint8_t*>(dst.data()), w * 4);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * p.cols * p.factor * p.rows * p.factor);
}

// args: destination width and height, filled.
void BM_Fill(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0));
  const int h = static_cast<int>(state.range(1));
  const std::vector<uint32_t> src = Picture();
  std::vector<uint32_t> dst(static_cast<size_t>(w) * h);
  platform::FillScaler scaler;
  const platform::Area a = platform::FillArea(640, 480, w, h);
  scaler.Prepare(640, 480, a);
  for (auto _ : state) {
    scaler.Scale(src.data(), reinterpret_cast<uint8_t*>(dst.data()), w * 4);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * a.width * a.height);
}

}  // namespace

// Same output size: 1280x960 by the whole factor 2, 1276x957 by the maps
// (one column and row short of 2x, so the maps do the work); and 1920x1440
// by 3 against 1916x1437.
BENCHMARK(BM_Integer)->Args({1280, 960})->Args({1920, 1440})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Fill)
    ->Args({1276, 957})
    ->Args({1916, 1437})
    ->Args({1366, 768})
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
