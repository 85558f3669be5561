// RIFF wave files: the chunk walk and the PCM formats a sound may have.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

struct WaveData {
  int rate = 0;           // frames per second, kMinWaveRate..kMaxWaveRate
  int channels = 0;       // 1 or 2
  int bitsPerSample = 0;  // 8 (unsigned) or 16 (signed)
  std::vector<uint8_t> samples;  // whole frames only
};

// Rates outside these are not sounds but traps: a tiny file at 1 Hz would be
// stretched to minutes of output when converted.
constexpr int kMinWaveRate = 100;
constexpr int kMaxWaveRate = 200000;

// Larger files are not sounds the game would ship; they are refused whole.
constexpr size_t kMaxWaveFileBytes = size_t{64} << 20;

// Refuses (nullopt) anything the game cannot play; never reads outside
// [data, data + size).
std::optional<WaveData> ParseWaveFile(const uint8_t* data, size_t size);

}  // namespace platform
