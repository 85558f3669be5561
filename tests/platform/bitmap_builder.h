// Builds small bitmap files in memory for the picture tests.
#pragma once

#include <cstdint>
#include <vector>

struct BitmapBuilder {
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t infoSize = 40;
  uint32_t coloursUsed = 0;  // written as is
  uint32_t imageBytes = 0;   // written as is
  std::vector<uint32_t> table;  // 0x00RRGGBB entries
  std::vector<uint32_t> masks;  // red, green, blue bit fields
  std::vector<uint8_t> pixelData;

  // Packs rows given top first (values: 0x00RRGGBB for 24/32 bits, the raw
  // 16-bit word for 16 bits, the index otherwise) bottom-up with padding.
  void SetRows(const std::vector<std::vector<uint32_t>>& rowsTopFirst) {
    pixelData.clear();
    for (auto it = rowsTopFirst.rbegin(); it != rowsTopFirst.rend(); ++it) {
      std::vector<uint8_t> row;
      if (bits >= 16) {
        for (uint32_t v : *it) {
          if (bits == 16) {
            row.push_back(static_cast<uint8_t>(v));
            row.push_back(static_cast<uint8_t>(v >> 8));
          } else {
            row.push_back(static_cast<uint8_t>(v));
            row.push_back(static_cast<uint8_t>(v >> 8));
            row.push_back(static_cast<uint8_t>(v >> 16));
            if (bits == 32) row.push_back(0xAB);  // ignored fourth byte
          }
        }
      } else {
        size_t bit = 0;
        for (uint32_t v : *it) {
          if (bit % 8 == 0) row.push_back(0);
          row.back() |= static_cast<uint8_t>(v << (8 - bits - bit % 8));
          bit += bits;
        }
      }
      while (row.size() % 4 != 0) row.push_back(0);
      pixelData.insert(pixelData.end(), row.begin(), row.end());
    }
  }

  size_t PixelOffset() const {
    size_t offset = 14 + infoSize + table.size() * 4;
    if (infoSize == 40) offset += masks.size() * 4;
    return offset;
  }

  std::vector<uint8_t> Build() const {
    std::vector<uint8_t> out;
    auto put16 = [&](uint32_t v) {
      out.push_back(static_cast<uint8_t>(v));
      out.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
      put16(v & 0xFFFF);
      put16(v >> 16);
    };
    const size_t offset = PixelOffset();
    out.push_back('B');
    out.push_back('M');
    put32(static_cast<uint32_t>(offset + pixelData.size()));
    put32(0);
    put32(static_cast<uint32_t>(offset));
    put32(infoSize);
    put32(static_cast<uint32_t>(width));
    put32(static_cast<uint32_t>(height));
    put16(1);
    put16(bits);
    put32(compression);
    put32(imageBytes);
    put32(2835);
    put32(2835);
    put32(coloursUsed);
    put32(0);
    // Masks sit right after the 40-byte part, inside larger headers.
    for (uint32_t m : masks) put32(m);
    while (out.size() < 14 + infoSize) out.push_back(0);
    for (uint32_t c : table) put32(c);
    out.insert(out.end(), pixelData.begin(), pixelData.end());
    return out;
  }
};

inline void Patch32(std::vector<uint8_t>& file, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void Patch16(std::vector<uint8_t>& file, size_t at, uint16_t v) {
  file[at] = static_cast<uint8_t>(v);
  file[at + 1] = static_cast<uint8_t>(v >> 8);
}
