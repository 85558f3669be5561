// RIFF wave files: the chunk walk and the PCM formats a sound may have.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// The PCM frames where they lie in the file's bytes, copied nowhere: a
// sound is converted straight from the file into its final buffer.
struct WaveView {
  int rate = 0;           // frames per second, kMinWaveRate..kMaxWaveRate
  int channels = 0;       // 1 or 2
  int bitsPerSample = 0;  // 8 (unsigned) or 16 (signed)
  const uint8_t* samples = nullptr;
  size_t bytes = 0;  // whole frames only
};

// The same with its own copy of the frames.
struct WaveData {
  int rate = 0;
  int channels = 0;
  int bitsPerSample = 0;
  std::vector<uint8_t> samples;

  WaveView View() const { return {rate, channels, bitsPerSample, samples.data(), samples.size()}; }
};

// Rates outside these are not sounds but traps: a tiny file at 1 Hz would be
// stretched to minutes of output when converted.
constexpr int kMinWaveRate = 100;
constexpr int kMaxWaveRate = 200000;

// Larger files are not sounds the game would ship; they are refused whole.
constexpr size_t kMaxWaveFileBytes = size_t{64} << 20;

// Refuses (nullopt) anything the game cannot play; never reads outside
// [data, data + size). The view points into data.
std::optional<WaveView> FindWaveFrames(const uint8_t* data, size_t size);
std::optional<WaveData> ParseWaveFile(const uint8_t* data, size_t size);

}  // namespace platform
