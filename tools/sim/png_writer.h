// Our own PNG writer (filtered rows, deflate with fixed codes): frame dumps,
// icons and screenshots need no library, and every host writes the same bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// pixels are 0x00RRGGBB, row-major; with `alpha`, 0xAARRGGBB (straight,
// not premultiplied). Returns false when the file cannot be written.
bool WritePng(const std::filesystem::path& path, const uint32_t* pixels, int width, int height, bool alpha = false);
std::vector<uint8_t> EncodePng(const uint32_t* pixels, int width, int height, bool alpha = false);
