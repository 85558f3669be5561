// What recording costs: the real game played headless for a minute of play
// at 1000 and 3,400 frames a second, with and without the recorder, in
// turns. Counters: the tape's bytes per minute of play (as kept in memory
// and as squeezed into the file) and the time per frame; the recorder's
// share of a frame is the difference of the two runs' frame times over the
// plain run's.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "flow/globals.h"
#include "flow/main_loop.h"
#include "flow/startup.h"
#include "platform/headless/headless_backend.h"
#include "platform/internal/state_reset.h"
#include "platform/keycodes.h"
#include "platform/timing.h"
#include "replay/game_hooks.h"
#include "replay/squeeze.h"
#include "replay/tape_backend.h"

namespace {

constexpr int64_t kStartMs = 100;         // Space on the title
constexpr int64_t kPlayFromMs = 5000;     // the get-ready slide is over
constexpr int64_t kPlayMs = 60000;        // one minute of play

struct Minute {
  int64_t frames = 0;
  size_t rawBytes = 0;
  size_t fileBytes = 0;
};

// A player who moves the piece every half second and lets it fall: the
// well fills slowly, so the whole minute is play.
Minute PlayOneMinute(int64_t frameUs, bool record) {
  platform::ResetAllPlatformState();
  ClearGameGlobals();
  platform::HeadlessBackend backend;
  backend.frameStepMicros = frameUs;
  backend.captureLastFrame = false;
  backend.stopAtMicros = (kPlayFromMs + kPlayMs) * 1000;
  backend.KeyAt(kStartMs, KeySpace, true);
  backend.KeyAt(kStartMs + 100, KeySpace, false);
  const int keys[] = {KeyLeft, KeyRight, KeyUp, KeyRight, KeyLeft, KeyLeft, KeyUp, KeyRight};
  int i = 0;
  for (int64_t t = kPlayFromMs; t < kPlayFromMs + kPlayMs; t += 500, ++i) {
    backend.KeyAt(t, keys[i % 8], true);
    backend.KeyAt(t + 40, keys[i % 8], false);
  }
  replay::RecordingBackend recorder(backend, replay::GameRecorderHooks(nullptr));
  platform::SetBackend(record ? static_cast<platform::Backend*>(&recorder) : &backend);
  RandomSeed(7);
  try {
    GameMain();
  } catch (const platform::RunStopped&) {
  } catch (const platform::ProgramEnded&) {
  }
  Minute m;
  m.frames = backend.framesPresented;
  if (record) {
    const std::vector<uint8_t> tape = recorder.TapeSoFar();
    m.rawBytes = tape.size();
    m.fileBytes = replay::Squeeze(tape).size();
  }
  platform::SetBackend(nullptr);
  return m;
}

void BM_MinuteOfPlay(benchmark::State& state) {
  const int64_t frameUs = state.range(0);
  const bool record = state.range(1) != 0;
  Minute m;
  for (auto _ : state) m = PlayOneMinute(frameUs, record);
  state.counters["frames"] = static_cast<double>(m.frames);
  state.counters["us_per_frame"] = benchmark::Counter(static_cast<double>(m.frames) * state.iterations(),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  if (record) {
    state.counters["tape_bytes_per_min"] = static_cast<double>(m.rawBytes);
    state.counters["file_bytes_per_min"] = static_cast<double>(m.fileBytes);
  }
  // At 3,400 frames a second the pieces fall 3.4 times as fast and the well
  // overflows within the minute; the rest of it is the name entry.
  state.counters["in_play_at_end"] = G.CurrentState == StatePlaying ? 1 : 0;
}

// The recorder alone: a minute's tape (1000 frames a second) played into the
// backend calls it was made of, once straight into a tape backend and once
// through a recorder around it. The difference is what recording adds.
const std::vector<uint8_t>& MinuteTape() {
  static std::vector<uint8_t> tape;
  if (tape.empty()) {
    platform::ResetAllPlatformState();
    ClearGameGlobals();
    platform::HeadlessBackend backend;
    backend.frameStepMicros = 1000;
    backend.captureLastFrame = false;
    backend.stopAtMicros = (kPlayFromMs + kPlayMs) * 1000;
    backend.KeyAt(kStartMs, KeySpace, true);
    backend.KeyAt(kStartMs + 100, KeySpace, false);
    replay::RecordingBackend recorder(backend, replay::GameRecorderHooks(nullptr));
    platform::SetBackend(&recorder);
    RandomSeed(7);
    try {
      GameMain();
    } catch (const platform::RunStopped&) {
    }
    tape = recorder.TapeSoFar();
    platform::SetBackend(nullptr);
  }
  return tape;
}

void BM_RecorderCalls(benchmark::State& state) {
  const bool record = state.range(0) != 0;
  const std::vector<uint8_t>& tape = MinuteTape();
  static const std::vector<uint32_t> pixels(640 * 480);
  int64_t frames = 0;
  for (auto _ : state) {
    platform::HeadlessBackend sink;
    sink.captureLastFrame = false;
    replay::TapeBackend answers(sink, tape, nullptr);
    answers.Engage();
    replay::RecordingBackend recorder(answers, replay::GameRecorderHooks(nullptr));
    platform::Backend& b = record ? static_cast<platform::Backend&>(recorder) : answers;
    if (record) recorder.Trace("state 1 5");
    replay::TapeReader walk(tape);
    replay::Op op{};
    uint8_t keys[256];
    platform::MouseReading mouse;
    while (walk.Next(op)) {
      switch (op) {
        case replay::Op::Clock: benchmark::DoNotOptimize(b.NowMicros()); break;
        case replay::Op::Keys:
        case replay::Op::KeysSame:
        case replay::Op::KeysNone: benchmark::DoNotOptimize(b.ReadKeyboard(keys)); break;
        case replay::Op::Mouse:
        case replay::Op::MouseStill:
        case replay::Op::MouseNone: benchmark::DoNotOptimize(b.ReadMouse(mouse)); break;
        case replay::Op::Char: benchmark::DoNotOptimize(b.TranslateKey(30)); break;
        case replay::Op::Active:
        case replay::Op::Inactive: benchmark::DoNotOptimize(b.WindowActive()); break;
        case replay::Op::Present: benchmark::DoNotOptimize(b.Present(pixels.data(), 640, 480)); break;
        default: break;  // checkpoints are read by the tape backend itself
      }
    }
    frames = walk.frames;
  }
  state.counters["frames"] = static_cast<double>(frames);
  state.counters["us_per_frame"] = benchmark::Counter(static_cast<double>(frames) * state.iterations(),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

// 1000 us a frame is 1000 frames a second; 294 us is 3,400. Recorded and
// plain in turns, so both see the same machine.
BENCHMARK(BM_MinuteOfPlay)
    ->Args({1000, 0})->Args({1000, 1})->Args({1000, 0})->Args({1000, 1})
    ->Args({294, 0})->Args({294, 1})->Args({294, 0})->Args({294, 1})
    ->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_RecorderCalls)->Arg(0)->Arg(1)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  std::filesystem::current_path(STAKKO_RUN_DIR);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
