// Small RIFF wave files made in memory for the sound tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/little_endian.h"

namespace testwave {

using Bytes = std::vector<uint8_t>;

inline void Put32(Bytes& b, uint32_t v) { platform::AppendLe32(b, v); }
inline void Put16(Bytes& b, uint16_t v) { platform::AppendLe16(b, v); }

// A chunk with its pad byte when the size is odd.
inline Bytes Chunk(const std::string& tag, const Bytes& body) {
  Bytes b(tag.begin(), tag.end());
  Put32(b, static_cast<uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  if (body.size() % 2 != 0) b.push_back(0);
  return b;
}

// A 16-byte PCM format chunk with a consistent block align.
inline Bytes Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  Bytes body;
  uint16_t align = static_cast<uint16_t>(channels * (bits / 8));
  Put16(body, tag);
  Put16(body, channels);
  Put32(body, rate);
  Put32(body, rate * align);
  Put16(body, align);
  Put16(body, bits);
  return Chunk("fmt ", body);
}

inline Bytes Riff(std::initializer_list<Bytes> chunks) {
  Bytes inner = {'W', 'A', 'V', 'E'};
  for (const Bytes& c : chunks) inner.insert(inner.end(), c.begin(), c.end());
  Bytes b = {'R', 'I', 'F', 'F'};
  Put32(b, static_cast<uint32_t>(inner.size()));
  b.insert(b.end(), inner.begin(), inner.end());
  return b;
}

// A mono or stereo 16-bit file of the given samples (interleaved).
inline Bytes Wave16(uint32_t rate, uint16_t channels, const std::vector<int16_t>& samples) {
  Bytes data;
  for (int16_t s : samples) Put16(data, static_cast<uint16_t>(s));
  return Riff({Fmt(1, channels, rate, 16), Chunk("data", data)});
}

// A short 8-bit mono file of the given unsigned samples, at 8000 Hz.
inline Bytes Wave8(const Bytes& samples) { return Riff({Fmt(1, 1, 8000, 8), Chunk("data", samples)}); }

}  // namespace testwave
