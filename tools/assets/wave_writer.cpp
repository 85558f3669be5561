#include "tools/assets/wave_writer.h"

#include <cstdio>

#include "platform/little_endian.h"

namespace art {

namespace {
using platform::AppendLe16;
using platform::AppendLe32;
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
  AppendLe32(out, 36 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  AppendLe32(out, 16);
  AppendLe16(out, 1);  // PCM
  AppendLe16(out, static_cast<uint32_t>(s.channels));
  AppendLe32(out, static_cast<uint32_t>(s.rate));
  AppendLe32(out, static_cast<uint32_t>(s.rate) * blockAlign);
  AppendLe16(out, blockAlign);
  AppendLe16(out, 16);
  PutTag(out, "data");
  AppendLe32(out, dataBytes);
  for (int16_t v : s.samples) AppendLe16(out, static_cast<uint16_t>(v));
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
