#include "tools/sim/png_writer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutBe32(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 24));
  out.push_back(static_cast<uint8_t>(v >> 16));
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  PutBe32(out, static_cast<uint32_t>(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBe32(out, Crc32(out.data() + start, out.size() - start));
}

// Each row goes through the filter that leaves the smallest differences
// (the usual rule of thumb), which turns flat areas and gradients into runs
// of small numbers for the compressor.
uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
  return static_cast<uint8_t>(pb <= pc ? b : c);
}

std::vector<uint8_t> FilterRows(const std::vector<uint8_t>& image, size_t rowBytes, int height, int bpp) {
  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(height) * (rowBytes + 1));
  std::vector<uint8_t> zero(rowBytes, 0), trial(rowBytes), best(rowBytes);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = image.data() + static_cast<size_t>(y) * rowBytes;
    const uint8_t* up = y > 0 ? row - rowBytes : zero.data();
    long bestCost = -1;
    uint8_t bestType = 0;
    for (uint8_t type = 0; type < 5; ++type) {
      long cost = 0;
      for (size_t i = 0; i < rowBytes; ++i) {
        const int a = i >= static_cast<size_t>(bpp) ? row[i - bpp] : 0;
        const int b = up[i];
        const int c = i >= static_cast<size_t>(bpp) ? up[i - bpp] : 0;
        const int predicted = type == 0 ? 0 : type == 1 ? a : type == 2 ? b : type == 3 ? (a + b) / 2 : Paeth(a, b, c);
        trial[i] = static_cast<uint8_t>(row[i] - predicted);
        cost += std::abs(static_cast<int8_t>(trial[i]));
      }
      if (bestCost < 0 || cost < bestCost) {
        bestCost = cost;
        bestType = type;
        best.swap(trial);
      }
    }
    out.push_back(bestType);
    out.insert(out.end(), best.begin(), best.end());
  }
  return out;
}

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Put(uint32_t bits, int count) {
    acc_ |= bits << used_;
    used_ += count;
    while (used_ >= 8) {
      out_.push_back(static_cast<uint8_t>(acc_));
      acc_ >>= 8;
      used_ -= 8;
    }
  }
  // Huffman codes go most significant bit first.
  void PutCode(uint32_t code, int length) {
    uint32_t reversed = 0;
    for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1u) << (length - 1 - i);
    Put(reversed, length);
  }
  void Flush() {
    if (used_ > 0) out_.push_back(static_cast<uint8_t>(acc_));
    acc_ = 0;
    used_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint32_t acc_ = 0;
  int used_ = 0;
};

// The fixed Huffman codes of deflate's block type 1.
void PutSymbol(BitWriter& bits, int symbol) {
  if (symbol <= 143) bits.PutCode(0x30 + symbol, 8);
  else if (symbol <= 255) bits.PutCode(0x190 + symbol - 144, 9);
  else if (symbol <= 279) bits.PutCode(symbol - 256, 7);
  else bits.PutCode(0xC0 + symbol - 280, 8);
}

constexpr int kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                   193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutMatch(BitWriter& bits, int length, int distance) {
  int l = 28;
  while (kLengthBase[l] > length) --l;
  PutSymbol(bits, 257 + l);
  bits.Put(static_cast<uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
  int d = 29;
  while (kDistanceBase[d] > distance) --d;
  bits.PutCode(static_cast<uint32_t>(d), 5);
  bits.Put(static_cast<uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

// Deflate (RFC 1951) in one fixed-code block: repeats found through a hash
// of the next three bytes, searched back through the 32 KiB window a bounded
// number of steps. Our pictures are flat areas, gradients and repeated
// sprites, which this takes to a tenth of their size or far less.
void Deflate(const std::vector<uint8_t>& data, std::vector<uint8_t>& out) {
  constexpr int kWindow = 32768, kMaxLength = 258, kMaxSteps = 64, kHashBits = 15;
  const size_t n = data.size();
  std::vector<int32_t> head(size_t{1} << kHashBits, -1), prev(n, -1);
  auto hashAt = [&](size_t i) {
    return ((uint32_t{data[i]} << 10) ^ (uint32_t{data[i + 1]} << 5) ^ data[i + 2]) & ((1u << kHashBits) - 1);
  };
  auto insert = [&](size_t i) {
    if (i + 2 >= n) return;
    const uint32_t h = hashAt(i);
    prev[i] = head[h];
    head[h] = static_cast<int32_t>(i);
  };
  BitWriter bits(out);
  bits.Put(1, 1);  // the last block
  bits.Put(1, 2);  // fixed codes
  for (size_t i = 0; i < n;) {
    int bestLength = 0, bestDistance = 0;
    if (i + 2 < n) {
      const int limit = static_cast<int>(std::min<size_t>(kMaxLength, n - i));
      int32_t j = head[hashAt(i)];
      for (int steps = 0; j >= 0 && i - static_cast<size_t>(j) <= kWindow && steps < kMaxSteps; ++steps) {
        const uint8_t* a = data.data() + j;
        const uint8_t* b = data.data() + i;
        if (a[bestLength] == b[bestLength] || bestLength == 0) {
          int length = 0;
          while (length < limit && a[length] == b[length]) ++length;
          if (length > bestLength) {
            bestLength = length;
            bestDistance = static_cast<int>(i - static_cast<size_t>(j));
            if (length == limit) break;
          }
        }
        j = prev[static_cast<size_t>(j)];
      }
    }
    if (bestLength >= 3) {
      PutMatch(bits, bestLength, bestDistance);
      for (int k = 0; k < bestLength; ++k) insert(i + static_cast<size_t>(k));
      i += static_cast<size_t>(bestLength);
    } else {
      PutSymbol(bits, data[i]);
      insert(i);
      ++i;
    }
  }
  PutSymbol(bits, 256);
  bits.Flush();
}

}  // namespace

std::vector<uint8_t> EncodePng(const uint32_t* pixels, int width, int height, bool alpha) {
  const int bpp = alpha ? 4 : 3;
  const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(bpp);
  std::vector<uint8_t> image;
  image.reserve(static_cast<size_t>(height) * rowBytes);
  for (size_t i = 0; i < static_cast<size_t>(width) * static_cast<size_t>(height); ++i) {
    const uint32_t p = pixels[i];
    image.push_back(static_cast<uint8_t>(p >> 16));
    image.push_back(static_cast<uint8_t>(p >> 8));
    image.push_back(static_cast<uint8_t>(p));
    if (alpha) image.push_back(static_cast<uint8_t>(p >> 24));
  }
  const std::vector<uint8_t> raw = FilterRows(image, rowBytes, height, bpp);

  std::vector<uint8_t> z = {0x78, 0x01};
  Deflate(raw, z);
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBe32(z, (b << 16) | a);

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  PutBe32(ihdr, static_cast<uint32_t>(width));
  PutBe32(ihdr, static_cast<uint32_t>(height));
  ihdr.insert(ihdr.end(), {8, static_cast<uint8_t>(alpha ? 6 : 2), 0, 0, 0});  // 8-bit RGB or RGBA
  PutChunk(png, "IHDR", ihdr);
  PutChunk(png, "IDAT", z);
  PutChunk(png, "IEND", {});
  return png;
}

bool WritePng(const std::filesystem::path& path, const uint32_t* pixels, int width, int height, bool alpha) {
  std::vector<uint8_t> png = EncodePng(pixels, width, height, alpha);
#ifdef _WIN32
  std::FILE* f = _wfopen(path.c_str(), L"wb");
#else
  std::FILE* f = std::fopen(path.c_str(), "wb");
#endif
  if (f == nullptr) return false;
  bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}
