#include "replay/squeeze.h"

#include <cstring>

#include "replay/byte_stream.h"

namespace replay {

namespace {

constexpr size_t kMinMatch = 4;
constexpr int kHashBits = 16;

uint32_t Hash4(const uint8_t* p) {
  uint32_t v = 0;
  std::memcpy(&v, p, 4);
  return (v * 2654435761u) >> (32 - kHashBits);
}

}  // namespace

std::vector<uint8_t> Squeeze(const std::vector<uint8_t>& raw) {
  ByteWriter w;
  std::vector<int64_t> last(size_t{1} << kHashBits, -1);
  const size_t n = raw.size();
  size_t literalStart = 0;
  size_t i = 0;
  auto flushLiterals = [&](size_t end) {
    if (end == literalStart) return;
    w.Varint(static_cast<uint64_t>(end - literalStart) << 1);
    w.bytes.insert(w.bytes.end(), raw.begin() + static_cast<std::ptrdiff_t>(literalStart),
                   raw.begin() + static_cast<std::ptrdiff_t>(end));
  };
  while (i + kMinMatch <= n) {
    const uint32_t h = Hash4(&raw[i]);
    const int64_t candidate = last[h];
    last[h] = static_cast<int64_t>(i);
    if (candidate >= 0 && std::memcmp(&raw[static_cast<size_t>(candidate)], &raw[i], kMinMatch) == 0) {
      const size_t from = static_cast<size_t>(candidate);
      size_t length = kMinMatch;
      while (i + length < n && raw[from + length] == raw[i + length]) ++length;
      flushLiterals(i);
      w.Varint(static_cast<uint64_t>(length - kMinMatch) << 1 | 1);
      w.Varint(i - from);
      // Remember a few positions inside the match for later ones.
      const size_t end = i + length;
      for (size_t k = i + 1; k + kMinMatch <= n && k < end; k += (length > 64 ? length / 16 : 1))
        last[Hash4(&raw[k])] = static_cast<int64_t>(k);
      i = end;
      literalStart = i;
    } else {
      ++i;
    }
  }
  flushLiterals(n);
  return std::move(w.bytes);
}

bool Unsqueeze(const uint8_t* data, size_t size, size_t rawSize, std::vector<uint8_t>& out) {
  out.clear();
  out.reserve(rawSize);
  ByteReader r(data, size);
  while (!r.AtEnd()) {
    uint64_t token = 0;
    if (!r.Varint(token)) return false;
    const uint64_t length = (token >> 1) + ((token & 1) ? kMinMatch : 0);
    if (length > rawSize - out.size()) return false;
    if ((token & 1) == 0) {
      if (length == 0 || length > r.Left()) return false;
      for (uint64_t k = 0; k < length; ++k) {
        uint8_t b = 0;
        r.Byte(b);
        out.push_back(b);
      }
    } else {
      uint64_t distance = 0;
      if (!r.Varint(distance) || distance == 0 || distance > out.size()) return false;
      const size_t from = out.size() - static_cast<size_t>(distance);
      for (uint64_t k = 0; k < length; ++k) out.push_back(out[from + static_cast<size_t>(k)]);
    }
  }
  return out.size() == rawSize;
}

}  // namespace replay
