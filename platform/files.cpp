#include "platform/files.h"

#include <cstdio>

namespace platform {

std::string HostPath(const std::string& gamePath) {
  std::string path = gamePath;
#ifndef _WIN32
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
#endif
  return path;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& gamePath,
                                                  uint64_t maxBytes) {
  std::FILE* f = std::fopen(HostPath(gamePath).c_str(), "rb");
  if (f == nullptr) return std::nullopt;
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  bool ok = true;
  for (;;) {
    size_t n = std::fread(chunk, 1, sizeof chunk, f);
    if (n > 0) {
      if (bytes.size() + n > maxBytes) {
        ok = false;
        break;
      }
      bytes.insert(bytes.end(), chunk, chunk + n);
    }
    if (n < sizeof chunk) {
      if (std::ferror(f)) ok = false;
      break;
    }
  }
  std::fclose(f);
  if (!ok) return std::nullopt;
  return bytes;
}

}  // namespace platform
