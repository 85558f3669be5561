// Placeholder until the wave loader lands.
#include "platform/wave_file.h"

namespace platform {
std::optional<WaveData> ParseWaveFile(const uint8_t*, size_t) { return std::nullopt; }
}  // namespace platform
