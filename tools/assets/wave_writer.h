// 16-bit PCM RIFF wave files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/assets/sounds.h"

namespace art {

std::vector<uint8_t> EncodeWave(const Sound& s);
bool WriteWave(const std::string& path, const Sound& s);

}  // namespace art
