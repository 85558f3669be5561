#include "replay/replay_file.h"

#include <cstring>

#include "platform/files.h"
#include "replay/byte_stream.h"
#include "replay/squeeze.h"

namespace replay {

namespace {

constexpr uint8_t kMagic[8] = {'S', 'T', 'A', 'K', 'R', 'E', 'P', 0x1A};
constexpr size_t kMostText = 64;

}  // namespace

const char* ThisGameVersion() { return STAKKO_VERSION; }

const char* ThisPlatform() {
#if defined(_WIN32)
  return "windows";
#elif defined(__EMSCRIPTEN__)
  return "browser";
#else
  return "linux";
#endif
}

uint32_t Crc32(const uint8_t* data, size_t size) {
  static uint32_t table[256];
  static bool ready = false;
  if (!ready) {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    ready = true;
  }
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::vector<uint8_t> EncodeReplay(const ReplayFile& f) {
  ByteWriter w;
  w.bytes.assign(kMagic, kMagic + 8);
  w.Byte(kFormatVersion & 0xFF);
  w.Byte(kFormatVersion >> 8);
  w.Text(f.gameVersion.substr(0, kMostText));
  w.Text(f.platform.substr(0, kMostText));
  w.Signed(f.year);
  w.Signed(f.month);
  w.Signed(f.day);
  w.Text(f.name.substr(0, kMostText));
  w.Signed(f.score);
  w.Signed(f.level);
  w.Signed(f.stones);
  w.Signed(f.frames);
  w.Signed(f.playMs);
  w.Byte(f.complete ? 1 : 0);
  w.Blob(f.start);
  w.Varint(f.tape.size());
  w.Blob(Squeeze(f.tape));
  uint32_t crc = Crc32(w.bytes.data(), w.bytes.size());
  for (int k = 0; k < 4; ++k) w.Byte(static_cast<uint8_t>(crc >> (8 * k)));
  return std::move(w.bytes);
}

bool DecodeReplay(const uint8_t* data, size_t size, ReplayFile& out, std::string& error) {
  if (size > kMostFileBytes) {
    error = "not a replay: larger than any replay (" + std::to_string(size) + " bytes)";
    return false;
  }
  if (size < 14 || std::memcmp(data, kMagic, 8) != 0) {
    error = "not a Stakko replay";
    return false;
  }
  const unsigned version = data[8] | data[9] << 8;
  if (version != kFormatVersion) {
    error = "replay format " + std::to_string(version) + ": this game reads format " +
            std::to_string(kFormatVersion) + " only";
    return false;
  }
  const uint32_t stored = static_cast<uint32_t>(data[size - 4]) | static_cast<uint32_t>(data[size - 3]) << 8 |
                          static_cast<uint32_t>(data[size - 2]) << 16 | static_cast<uint32_t>(data[size - 1]) << 24;
  if (Crc32(data, size - 4) != stored) {
    error = "damaged replay: its checksum does not match (truncated or altered)";
    return false;
  }
  ByteReader r(data + 10, size - 14);
  ReplayFile f;
  int64_t year = 0, month = 0, day = 0, score = 0, level = 0, stones = 0;
  uint8_t complete = 0;
  r.Text(f.gameVersion, kMostText);
  r.Text(f.platform, kMostText);
  r.Int(year, 0, 9999);
  r.Int(month, 1, 12);
  r.Int(day, 1, 31);
  r.Text(f.name, kMostText);
  r.Int(score, 0, INT32_MAX);
  r.Int(level, 0, INT32_MAX);
  r.Int(stones, 0, INT32_MAX);
  r.Int(f.frames, 0, INT64_MAX);
  r.Int(f.playMs, 0, INT64_MAX);
  r.Byte(complete);
  r.Blob(f.start, kMostStartBytes);
  uint64_t tapeSize = 0;
  std::vector<uint8_t> squeezed;
  r.Varint(tapeSize);
  r.Blob(squeezed, kMostTapeBytes);
  if (r.ok() && tapeSize > kMostTapeBytes) {
    error = "not a replay: its tape would be larger than any game's";
    return false;
  }
  if (!r.ok() || !r.AtEnd() || complete > 1) {
    error = "damaged replay: its header or blocks do not fit together";
    return false;
  }
  if (!Unsqueeze(squeezed.data(), squeezed.size(), static_cast<size_t>(tapeSize), f.tape)) {
    error = "damaged replay: its tape does not unpack";
    return false;
  }
  f.year = static_cast<int>(year);
  f.month = static_cast<int>(month);
  f.day = static_cast<int>(day);
  f.score = static_cast<int32_t>(score);
  f.level = static_cast<int32_t>(level);
  f.stones = static_cast<int32_t>(stones);
  f.complete = complete != 0;
  out = std::move(f);
  return true;
}

bool PlayableHere(const ReplayFile& f, std::string& error) {
  if (f.gameVersion != ThisGameVersion()) {
    error = "recorded by Stakko " + f.gameVersion + "; this is Stakko " + ThisGameVersion() +
            ", and a replay plays only in the version that recorded it";
    return false;
  }
  return true;
}

bool LoadReplay(const std::string& path, ReplayFile& out, std::string& error) {
  // The file service reads only regular files and refuses large ones before
  // reading them: nothing left at the name can block or exhaust the game.
  std::optional<std::vector<uint8_t>> bytes = platform::ReadWholeFile(path, kMostFileBytes);
  if (!bytes) {
    error = path + ": cannot be read as a replay (missing, unreadable or too large)";
    return false;
  }
  if (!DecodeReplay(bytes->data(), bytes->size(), out, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

}  // namespace replay
