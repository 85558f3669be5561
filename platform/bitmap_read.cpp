// Windows bitmap decoding. Picture files are ordinary files anyone can
// replace, so every header field is checked against the real size of the
// data before it is used, sizes are worked out in 64 bits, and anything
// outside the layouts the game reads is refused rather than guessed at.
#include "platform/bitmap_file.h"

#include "platform/little_endian.h"

namespace platform {

namespace {

constexpr int64_t kMaxSide = 16384;
// Picture area cap: a run-length file of a few bytes may claim any size, so
// the area is bounded too (far above the 640x480 the game ever needs).
constexpr int64_t kMaxPixels = int64_t{1} << 24;

constexpr uint64_t kFileHeaderBytes = 14;
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionRle8 = 1;
constexpr uint32_t kCompressionBitFields = 3;

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }

struct Header {
  uint64_t pixelOffset = 0;
  uint64_t infoSize = 0;
  int64_t width = 0;
  int64_t height = 0;
  int bits = 0;
  uint32_t compression = 0;
  uint64_t imageBytes = 0;  // biSizeImage, 0 when the writer left it out
  uint64_t coloursUsed = 0;
};

bool ReadHeader(const uint8_t* data, uint64_t size, Header& h) {
  if (size < kFileHeaderBytes + 40) return false;
  if (data[0] != 'B' || data[1] != 'M') return false;
  if (ReadLe16(data + 6) != 0 || ReadLe16(data + 8) != 0) return false;
  h.pixelOffset = ReadLe32(data + 10);
  h.infoSize = ReadLe32(data + 14);
  // The information headers that keep the 40-byte layout at their start
  // (plain, with masks, and the two colour-space versions). The 12-byte
  // core header has 16-bit sizes and other layouts mean other fields.
  if (h.infoSize != 40 && h.infoSize != 52 && h.infoSize != 56 && h.infoSize != 108 &&
      h.infoSize != 124) {
    return false;
  }
  if (kFileHeaderBytes + h.infoSize > size) return false;
  h.width = static_cast<int32_t>(ReadLe32(data + 18));
  h.height = static_cast<int32_t>(ReadLe32(data + 22));
  // Top-down files (negative height) are not among the layouts we read.
  if (h.width <= 0 || h.height <= 0 || h.width > kMaxSide || h.height > kMaxSide) return false;
  if (h.width * h.height > kMaxPixels) return false;
  if (ReadLe16(data + 26) != 1) return false;  // planes
  h.bits = ReadLe16(data + 28);
  h.compression = ReadLe32(data + 30);
  h.imageBytes = ReadLe32(data + 34);
  h.coloursUsed = ReadLe32(data + 46);
  switch (h.bits) {
    case 1:
    case 4:
    case 24:
    case 32:
      if (h.compression != kCompressionNone) return false;
      break;
    case 8:
      if (h.compression != kCompressionNone && h.compression != kCompressionRle8) return false;
      break;
    case 16:
      if (h.compression != kCompressionNone && h.compression != kCompressionBitFields) return false;
      break;
    default:
      return false;
  }
  return h.pixelOffset < size;
}

// Reads the colour table of an indexed file into table; false when it is
// larger than the bit count allows or reaches into the pixel data.
bool ReadColourTable(const uint8_t* data, const Header& h, uint32_t table[256], uint32_t& count) {
  const uint64_t maxEntries = uint64_t{1} << h.bits;
  const uint64_t entries = h.coloursUsed == 0 ? maxEntries : h.coloursUsed;
  if (entries > maxEntries) return false;
  const uint64_t start = kFileHeaderBytes + h.infoSize;
  if (start + entries * 4 > h.pixelOffset) return false;
  for (uint64_t i = 0; i < entries; ++i) {
    const uint8_t* e = data + start + i * 4;
    table[i] = Rgb(e[2], e[1], e[0]);
  }
  count = static_cast<uint32_t>(entries);
  return true;
}

// Uncompressed rows: bottom-up, each padded to 4 bytes; only the padding of
// the last row stored (the top one) may be missing from the file.
bool DecodeRows(const uint8_t* data, uint64_t size, const Header& h, const uint32_t* table,
                uint32_t tableSize, DecodedBitmap& out) {
  const uint64_t w = static_cast<uint64_t>(h.width);
  const uint64_t hgt = static_cast<uint64_t>(h.height);
  const uint64_t rowBits = w * static_cast<uint64_t>(h.bits);
  const uint64_t stride = (rowBits + 31) / 32 * 4;
  const uint64_t lastRowBytes = (rowBits + 7) / 8;
  if (h.pixelOffset + stride * (hgt - 1) + lastRowBytes > size) return false;

  bool green6 = false;
  if (h.bits == 16 && h.compression == kCompressionBitFields) {
    // The masks follow a 40-byte header, or are its first extension fields.
    const uint64_t maskEnd = kFileHeaderBytes + 40 + 12;
    if (maskEnd > size || (h.infoSize == 40 && maskEnd > h.pixelOffset)) return false;
    if (ReadLe32(data + 54) != 0xF800 || ReadLe32(data + 58) != 0x07E0 || ReadLe32(data + 62) != 0x001F) {
      return false;
    }
    green6 = true;
  }

  out.pixels.resize(static_cast<size_t>(w * hgt));
  for (uint64_t fileRow = 0; fileRow < hgt; ++fileRow) {
    const uint8_t* src = data + h.pixelOffset + fileRow * stride;
    uint32_t* dst = out.pixels.data() + (hgt - 1 - fileRow) * w;
    switch (h.bits) {
      case 32:
        for (uint64_t x = 0; x < w; ++x, src += 4) dst[x] = Rgb(src[2], src[1], src[0]);
        break;
      case 24:
        for (uint64_t x = 0; x < w; ++x, src += 3) dst[x] = Rgb(src[2], src[1], src[0]);
        break;
      case 16:
        for (uint64_t x = 0; x < w; ++x, src += 2) {
          const uint32_t v = ReadLe16(src);
          if (green6) {
            dst[x] = Rgb(((v >> 11) & 31) << 3, ((v >> 5) & 63) << 2, (v & 31) << 3);
          } else {
            dst[x] = Rgb(((v >> 10) & 31) << 3, ((v >> 5) & 31) << 3, (v & 31) << 3);
          }
        }
        break;
      default: {  // 1, 4 or 8 bits through the colour table
        const unsigned bits = static_cast<unsigned>(h.bits);
        const unsigned mask = (1u << bits) - 1;
        for (uint64_t x = 0; x < w; ++x) {
          const uint64_t bit = x * bits;
          const unsigned shift = 8 - bits - static_cast<unsigned>(bit % 8);
          const uint32_t index = (src[bit / 8] >> shift) & mask;
          if (index >= tableSize) return false;
          dst[x] = table[index];
        }
        break;
      }
    }
  }
  return true;
}

// 8-bit run-length data. Runs, literals and deltas are clipped to the row
// and the picture; pixels the stream skips stay black. The stream must end
// with its end-of-picture mark or after completing every row.
bool DecodeRle8(const uint8_t* data, uint64_t size, const Header& h, const uint32_t* table,
                uint32_t tableSize, DecodedBitmap& out) {
  uint64_t end = size;
  if (h.imageBytes != 0) {
    if (h.pixelOffset + h.imageBytes > size) return false;
    end = h.pixelOffset + h.imageBytes;
  }
  const int64_t w = h.width;
  const int64_t hgt = h.height;
  out.pixels.assign(static_cast<size_t>(w * hgt), 0u);
  int64_t x = 0;
  int64_t y = 0;  // counted from the bottom row, as stored
  auto put = [&](uint32_t index) {
    if (x < w && y < hgt) out.pixels[static_cast<size_t>((hgt - 1 - y) * w + x)] = table[index];
    if (x < w) ++x;
  };
  uint64_t p = h.pixelOffset;
  while (p + 2 <= end) {
    const uint8_t count = data[p];
    const uint8_t value = data[p + 1];
    p += 2;
    if (count > 0) {
      if (value >= tableSize) return false;
      for (int i = 0; i < count; ++i) put(value);
      continue;
    }
    if (value == 0) {  // end of row
      x = 0;
      if (y < hgt) ++y;
    } else if (value == 1) {  // end of picture
      return true;
    } else if (value == 2) {  // move right and up
      if (p + 2 > end) return false;
      x += data[p];
      y += data[p + 1];
      p += 2;
      if (x > w) x = w;
      if (y > hgt) y = hgt;
    } else {  // literal run, padded to a 16-bit boundary
      const uint64_t bytes = value;
      if (p + bytes > end) return false;
      for (uint64_t i = 0; i < bytes; ++i) {
        if (data[p + i] >= tableSize) return false;
        put(data[p + i]);
      }
      p += (bytes + 1) & ~uint64_t{1};
    }
  }
  return y >= hgt || (y == hgt - 1 && x >= w);
}

}  // namespace

std::optional<DecodedBitmap> DecodeBitmap(const uint8_t* data, size_t size) {
  if (data == nullptr) return std::nullopt;
  Header h;
  if (!ReadHeader(data, size, h)) return std::nullopt;

  uint32_t table[256] = {};
  uint32_t tableSize = 0;
  if (h.bits <= 8 && !ReadColourTable(data, h, table, tableSize)) return std::nullopt;
  if (h.pixelOffset < kFileHeaderBytes + h.infoSize) return std::nullopt;

  DecodedBitmap out;
  out.width = static_cast<int>(h.width);
  out.height = static_cast<int>(h.height);
  out.sourceDepth = h.bits;
  const bool ok = h.compression == kCompressionRle8
                      ? DecodeRle8(data, size, h, table, tableSize, out)
                      : DecodeRows(data, size, h, table, tableSize, out);
  if (!ok) return std::nullopt;
  return out;
}

}  // namespace platform
