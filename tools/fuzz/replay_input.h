// What the replay fuzzer feeds every input to: the file reader, the
// starting state's reader and a walk over every op of the tape. Shared by
// the libFuzzer target and the bounded run in the test suite.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "replay/game_start.h"
#include "replay/replay_file.h"
#include "replay/tape.h"

inline void ExerciseDecodedReplay(const uint8_t* data, size_t size) {
  replay::ReplayFile file;
  std::string error;
  if (!replay::DecodeReplay(data, size, file, error)) return;
  replay::TableFileCopy table;
  replay::RestoreGameStart(file.start, table, error);
  replay::TapeReader reader(file.tape);
  replay::Op op{};
  while (reader.Next(op)) {
  }
}

// Each input twice: as it is, and with its checksum made to match, so that
// mutations reach past the checksum into the header, blocks and tape.
inline void ExerciseReplayReader(const uint8_t* data, size_t size) {
  ExerciseDecodedReplay(data, size);
  if (size < 4 || size > replay::kMostFileBytes) return;
  std::vector<uint8_t> fixed(data, data + size);
  const uint32_t crc = replay::Crc32(fixed.data(), size - 4);
  for (int k = 0; k < 4; ++k) fixed[size - 4 + k] = static_cast<uint8_t>(crc >> (8 * k));
  ExerciseDecodedReplay(fixed.data(), fixed.size());
}
