// Files named the game's way ("graphics\Jewels.bmp"), relative to the
// working directory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// "graphics\Jewels.bmp" -> "graphics/Jewels.bmp" on hosts that use '/'.
std::string HostPath(const std::string& gamePath);

// The whole file, or nothing when it cannot be opened or read. Files larger
// than maxBytes are refused.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& gamePath,
                                                  uint64_t maxBytes);

}  // namespace platform
