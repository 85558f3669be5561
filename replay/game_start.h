// The game's state as a recorded game begins (the get-ready slide), so that
// a replay starts from exactly there: the game-wide record's values, the
// clock's origin and the generator, the keyboard's latches and the mouse,
// and the high-score file as it stood (the game may read it only at the end).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

std::vector<uint8_t> CaptureGameStart();

// What the high-score file was when the game began.
struct TableFileCopy {
  bool dataFolder = false;  // "Data" was a folder, so saves could succeed
  bool present = false;     // a regular file was there
  std::vector<uint8_t> bytes;
};

// Puts the recorded state back. False (with why) when the block is damaged;
// nothing is changed then.
bool RestoreGameStart(const std::vector<uint8_t>& block, TableFileCopy& table, std::string& error);

// A digest of what decides the game from here on: the well, the pieces,
// score, level, stones, the screen, the name and the generator.
uint64_t GameDigest();

}  // namespace replay
