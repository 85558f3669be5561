// The ten best results: the table in G, the file "Data/highscore.dat" that
// keeps it between runs, and the placing of a finished game's result.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scores/high_score_entry.h"

inline constexpr const char* kHighScorePath = "Data/highscore.dat";

// Fills G.HighScoreTable from the file, or writes the default file when there
// is none (or it is empty) and fills the table with the default rows. Never
// creates the "Data" folder. A file that is there but cannot be read is left
// alone for the rest of the run (default rows in memory, saves fail). Sets
// G.HighScoresLoaded.
void LoadHighScores();
void EnsureHighScoresLoaded();

// Places a result, ties going to the newer one. Returns its row (1..10) or 0
// when it did not reach the table. The new row's name is a placeholder until
// the player's name replaces it.
int InsertHighScore(int32_t score, int32_t level);

// Rewrites the file from the table; the old file survives any failure, and
// an unreadable one is never replaced. Returns whether the new file is in
// place.
bool SaveHighScores();

// Today's date as "DD-MON-YYYY", always 11 characters.
std::string MakeDateText();

// The file's bytes for the table as it is now, and the lenient reading of
// any bytes back into the table. Exposed for tests.
std::vector<uint8_t> EncodeHighScores();
void DecodeHighScores(const std::vector<uint8_t>& bytes);

// The date text of a given day; years outside 0..9999 are clamped so the
// text keeps its 11 characters.
std::string FormatDateText(int year, int month, int day);

// The months as dates show them, entry 0 empty: the start value of the
// game's own table (G.MonthNames).
extern const char* const kMonthNames[13];
