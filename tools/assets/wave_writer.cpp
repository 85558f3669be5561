#include "tools/assets/wave_writer.h"

#include <cstdio>

namespace art {

namespace {
void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}
}  // namespace

std::vector<uint8_t> EncodeWave(const Sound& s) {
  const uint32_t dataBytes = static_cast<uint32_t>(s.samples.size() * 2);
  const uint32_t blockAlign = static_cast<uint32_t>(s.channels) * 2;
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  PutTag(out, "RIFF");
  Put32(out, 36 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, static_cast<uint32_t>(s.channels));
  Put32(out, static_cast<uint32_t>(s.rate));
  Put32(out, static_cast<uint32_t>(s.rate) * blockAlign);
  Put16(out, blockAlign);
  Put16(out, 16);
  PutTag(out, "data");
  Put32(out, dataBytes);
  for (int16_t v : s.samples) Put16(out, static_cast<uint16_t>(v));
  return out;
}

bool WriteWave(const std::string& path, const Sound& s) {
  const std::vector<uint8_t> bytes = EncodeWave(s);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

}  // namespace art
