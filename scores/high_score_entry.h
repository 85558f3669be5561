// One row of the high-score table (scores/high_scores.h keeps the table).
// Kept apart from that unit, which reads G, so that the global record can
// hold the table.
#pragma once

#include <cstdint>
#include <string>

struct HighScoreEntry {
  std::string name;
  int32_t score = 0;
  std::string date;  // "DD-MON-YYYY"
  int32_t level = 0;
};
