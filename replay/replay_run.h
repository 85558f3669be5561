// Runs a recorded game again: the game starts up as usual on the given
// backend (loading its pictures and sounds from the working folder), takes
// the recorded starting state, and plays from the get-ready slide with the
// tape answering every question, until the tape ends.
//
// The high-score file is the recorded one, in a folder of its own for the
// run: a replay never touches the player's table.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/backend.h"
#include "replay/replay_file.h"
#include "replay/tape_backend.h"

namespace replay {

struct ReplayOutcome {
  bool astray = false;    // the run left the tape (message says where)
  bool refused = false;   // the file cannot be played here (message says why)
  std::string message;
  int32_t score = 0, level = 0, stones = 0;
  int64_t frames = 0;
  int64_t checkpoints = 0;
  // The game asked to end (its own exit status) before the tape ran out.
  bool programEnded = false;
  int exitCode = 0;
};

// prepare is called with the tape backend before the game starts (to set
// pacing hooks). Exceptions other than the tape's and the game's ending
// (a harness's own stop) pass through, after the run's folder is removed.
ReplayOutcome RunReplay(platform::Backend& inner, const ReplayFile& file,
                        const std::function<void(TapeBackend&)>& prepare = nullptr);

// Whether a run agrees with what the file claims; says what differs.
bool Verified(const ReplayFile& file, const ReplayOutcome& outcome, std::string& message);

}  // namespace replay
