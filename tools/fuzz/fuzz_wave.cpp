// libFuzzer target for the wave file walk: any input must either be refused
// or give a sound the mixer can take, without touching memory outside the
// input; accepted sounds short enough to mix quickly are mixed too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/mixer.h"
#include "platform/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto wave = platform::ParseWaveFile(data, size);
  if (!wave) return 0;
  if (wave->channels != 1 && wave->channels != 2) std::abort();
  if (wave->bitsPerSample != 8 && wave->bitsPerSample != 16) std::abort();
  if (wave->rate < platform::kMinWaveRate || wave->rate > platform::kMaxWaveRate) std::abort();
  const size_t frameBytes = static_cast<size_t>(wave->channels) * static_cast<size_t>(wave->bitsPerSample / 8);
  if (wave->samples.empty() || wave->samples.size() % frameBytes != 0 || wave->samples.size() + 12 > size) {
    std::abort();
  }
  constexpr uint64_t kOutRate = 8000;
  if (wave->samples.size() * kOutRate <= (uint64_t{1} << 14) * static_cast<uint64_t>(wave->rate)) {
    platform::Mixer mixer({static_cast<int>(kOutRate), 2});
    int id = mixer.AddSound(*wave);
    if (id != 1) std::abort();
    mixer.Play(id, true, platform::Mixer::GainForAttenuation(-603));
    int16_t out[2 * 300];
    mixer.Render(out, 300);
  }
  return 0;
}
