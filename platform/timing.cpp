#include "platform/timing.h"

#include "platform/backend.h"
#include "platform/internal/state_reset.h"

namespace {

bool clockStarted = false;
int64_t originMicros = 0;

struct RandomState {
  bool seeded = false;
  uint32_t A[17] = {};
  uint32_t B[17] = {};
  int i = 0;
  int j = 0;
};
RandomState rng;

uint32_t Rotr(uint32_t v, int k) { return (v >> k) | (v << (32 - k)); }

uint32_t Step() {
  uint32_t a = Rotr(rng.B[rng.i], 13) + rng.B[rng.j];
  uint32_t b = Rotr(rng.A[rng.i], 5) + rng.A[rng.j];
  rng.A[rng.i] = a;
  rng.B[rng.i] = b;
  rng.i = rng.i == 0 ? 16 : rng.i - 1;
  rng.j = rng.j == 0 ? 16 : rng.j - 1;
  return a;
}

}  // namespace

int64_t ElapsedMs() {
  int64_t now = platform::CurrentBackend().NowMicros();
  if (!clockStarted) {
    clockStarted = true;
    originMicros = now;
  }
  return (now - originMicros) / 1000;
}

void RandomSeed(uint32_t seed) {
  rng.seeded = true;
  uint32_t v = seed;
  for (int k = 0; k <= 16; ++k) {
    v = 1u - v * 0x53A9B4FBu;
    rng.B[k] = v;
    v = 1u - v * 0x53A9B4FBu;
    rng.A[k] = v;
  }
  rng.i = 0;
  rng.j = 10;
  for (int k = 0; k < 31; ++k) Step();
}

uint32_t RandomBelowOrAt(uint32_t n) {
  uint32_t x = platform::RandomStep();
  if (n == 0xFFFFFFFFu) return x;
  return static_cast<uint32_t>((static_cast<uint64_t>(x) * (static_cast<uint64_t>(n) + 1)) >> 32);
}

uint32_t RandomRange(uint32_t max, uint32_t min) {
  if (min > max) min = max;
  return min + RandomBelowOrAt(max - min);
}

namespace platform {

uint32_t RandomStep() {
  if (!rng.seeded) RandomSeed(CurrentBackend().AutoSeed());
  return Step();
}

TimingCopy CopyTimingState() {
  TimingCopy c;
  c.clockStarted = clockStarted;
  c.originMicros = originMicros;
  c.seeded = rng.seeded;
  for (int k = 0; k < 17; ++k) {
    c.A[k] = rng.A[k];
    c.B[k] = rng.B[k];
  }
  c.i = rng.i;
  c.j = rng.j;
  return c;
}

void RestoreTimingState(const TimingCopy& c) {
  clockStarted = c.clockStarted;
  originMicros = c.originMicros;
  rng.seeded = c.seeded;
  for (int k = 0; k < 17; ++k) {
    rng.A[k] = c.A[k];
    rng.B[k] = c.B[k];
  }
  // Indices out of range would read past the tables.
  rng.i = c.i >= 0 && c.i <= 16 ? c.i : 0;
  rng.j = c.j >= 0 && c.j <= 16 ? c.j : 10;
}

void ResetTimingState() {
  clockStarted = false;
  originMicros = 0;
  rng = RandomState{};
}

}  // namespace platform
