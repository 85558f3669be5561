// The game's two ways with recorded games: watching one in the window
// (--replay FILE) and proving the high-score table (--verify-table).
#pragma once

#include <string>

#include "platform/backend.h"

struct ReplayRequest {
  std::string watch;         // --replay FILE
  bool verifyTable = false;  // --verify-table
};

// Takes --replay FILE (or --replay=FILE) and --verify-table out of argv,
// leaving the rest for the ordinary options. False with a message when
// --replay lacks its file.
bool TakeReplayOptions(int& argc, char** argv, ReplayRequest& request, std::string& error);

// Plays the file in the window at the recorded pace. Space pauses, Right
// doubles the speed (up to 4x), Left halves it (down to 1/2x), Escape stops.
// Ends the program: 0 at the replay's end, 1 when it cannot be played or
// goes astray.
[[noreturn]] void WatchReplay(platform::Backend& window, const std::string& path);

// Checks every row of Data/highscore.dat that has a replay in Replays by
// running it headless; prints which rows are proven. 0 when every replay
// found proves its row, 1 otherwise.
int VerifyTable();
