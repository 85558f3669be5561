// Where finished games go: one file each in "Replays" beside "Data". The
// game never makes the folder (the launcher and the build do); without it
// nothing is kept. Kept are the last kKeptRecent games and, however old,
// every game that holds a row of the high-score table: a replay's own
// header names its player, score, level and date, which is the link.
#pragma once

#include <string>
#include <vector>

#include "replay/replay_file.h"
#include "scores/high_score_entry.h"

namespace replay {

inline constexpr int kKeptRecent = 20;
inline constexpr const char* kReplaysFolder = "Replays";

// Writes the game (temporary file, then rename, as the table is written)
// and drops what is no longer kept. Returns the file's name, or "" when it
// could not be written; never throws, and a failure changes nothing else.
std::string KeepReplay(const ReplayFile& file, const HighScoreEntry* rows, int rowCount);

// Whether a replay is the game that made a row.
bool MadeRow(const ReplayFile& file, const HighScoreEntry& row);

// The replays in the folder, newest first (their names sort by time).
std::vector<std::string> ReplayNames();

}  // namespace replay
