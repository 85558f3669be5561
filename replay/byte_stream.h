// Compact numbers for replay files: unsigned LEB128 varints, zigzag for
// signed ones, and a reader that never reads past its end (every read says
// whether it succeeded, and a failed one poisons the reader).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace replay {

class ByteWriter {
 public:
  std::vector<uint8_t> bytes;

  void Byte(uint8_t v) { bytes.push_back(v); }
  void Varint(uint64_t v) {
    while (v >= 0x80) {
      bytes.push_back(static_cast<uint8_t>(v | 0x80));
      v >>= 7;
    }
    bytes.push_back(static_cast<uint8_t>(v));
  }
  void Signed(int64_t v) {
    Varint((static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63));
  }
  void Fixed64(uint64_t v) {
    for (int k = 0; k < 8; ++k) bytes.push_back(static_cast<uint8_t>(v >> (8 * k)));
  }
  void Text(const std::string& s) {
    Varint(s.size());
    bytes.insert(bytes.end(), s.begin(), s.end());
  }
  void Blob(const std::vector<uint8_t>& b) {
    Varint(b.size());
    bytes.insert(bytes.end(), b.begin(), b.end());
  }
};

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}

  bool ok() const { return ok_; }
  bool AtEnd() const { return p_ == end_; }
  size_t Left() const { return static_cast<size_t>(end_ - p_); }
  size_t Offset(const uint8_t* start) const { return static_cast<size_t>(p_ - start); }

  bool Byte(uint8_t& v) {
    if (!ok_ || p_ == end_) return ok_ = false;
    v = *p_++;
    return true;
  }
  bool Varint(uint64_t& v) {
    v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      uint8_t b = 0;
      if (!Byte(b)) return false;
      v |= static_cast<uint64_t>(b & 0x7F) << shift;
      if ((b & 0x80) == 0) return true;
    }
    return ok_ = false;  // more than ten bytes: no number of ours
  }
  bool Signed(int64_t& v) {
    uint64_t u = 0;
    if (!Varint(u)) return false;
    v = static_cast<int64_t>(u >> 1) ^ -static_cast<int64_t>(u & 1);
    return true;
  }
  // A varint that must fit in [lo, hi].
  bool Int(int64_t& v, int64_t lo, int64_t hi) {
    if (!Signed(v)) return false;
    if (v < lo || v > hi) return ok_ = false;
    return true;
  }
  bool Fixed64(uint64_t& v) {
    if (!ok_ || Left() < 8) return ok_ = false;
    v = 0;
    for (int k = 0; k < 8; ++k) v |= static_cast<uint64_t>(p_[k]) << (8 * k);
    p_ += 8;
    return true;
  }
  // Lengths are checked against what is left before anything is allocated.
  bool Text(std::string& s, size_t most) {
    uint64_t n = 0;
    if (!Varint(n) || n > most || n > Left()) return ok_ = false;
    s.assign(reinterpret_cast<const char*>(p_), static_cast<size_t>(n));
    p_ += n;
    return true;
  }
  bool Blob(std::vector<uint8_t>& b, size_t most) {
    uint64_t n = 0;
    if (!Varint(n) || n > most || n > Left()) return ok_ = false;
    b.assign(p_, p_ + n);
    p_ += n;
    return true;
  }

 private:
  const uint8_t* p_;
  const uint8_t* end_;
  bool ok_ = true;
};

}  // namespace replay
