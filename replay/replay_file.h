// One recorded game as a file: who recorded it and what it claims, the
// game's state when the get-ready slide began, and the tape of everything
// the game read from the platform until the game was over.
//
// Layout: the magic "STAKREP" + 0x1A, the format version (16 bits, little
// endian), then varints (replay/byte_stream.h): game version, platform,
// date, player name, claimed score, level and stones, frames, play time,
// whether the game ran to its end; the start state as a length-prefixed
// block; the tape's size and the tape squeezed (replay/squeeze.h) as a
// length-prefixed block; last a CRC-32 of everything before it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

inline constexpr uint16_t kFormatVersion = 1;
// Hard limits, checked before anything is allocated. A tape of an hour's
// play at 3,400 frames a second is far below kMostTapeBytes.
inline constexpr size_t kMostFileBytes = 64u << 20;
inline constexpr size_t kMostStartBytes = 64u << 10;
inline constexpr size_t kMostTapeBytes = kMostFileBytes - kMostStartBytes - 1024;

struct ReplayFile {
  std::string gameVersion;  // the game's version that recorded it
  std::string platform;     // "linux", "windows"
  int year = 1970, month = 1, day = 1;  // the game's date (local)
  std::string name;         // the name entered for the table ("" if none)
  int32_t score = 0, level = 0, stones = 0;  // claimed at the end
  int64_t frames = 0;       // frames presented while recording
  int64_t playMs = 0;       // the game's clock from first to last reading
  bool complete = false;    // false: the program ended during the game
  std::vector<uint8_t> start;
  std::vector<uint8_t> tape;
};

// This build's version and platform.
const char* ThisGameVersion();
const char* ThisPlatform();

std::vector<uint8_t> EncodeReplay(const ReplayFile& file);
// Reads a replay; on failure says why in words a player understands.
bool DecodeReplay(const uint8_t* data, size_t size, ReplayFile& out, std::string& error);
// A replay plays only in the version that recorded it: the game's rules may
// have changed since. Says why not when it cannot.
bool PlayableHere(const ReplayFile& file, std::string& error);
// Reads and decodes a file from disk (platform path), with the same limits.
bool LoadReplay(const std::string& path, ReplayFile& out, std::string& error);

uint32_t Crc32(const uint8_t* data, size_t size);

}  // namespace replay
