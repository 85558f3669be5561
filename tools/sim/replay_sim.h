// stakko-sim --replay and --verify: a recorded game run again headless.
#pragma once

#include <iosfwd>

#include "tools/sim/scenario.h"

// --replay: the trace, board, frames and sound of the recorded game, status
// 0 when it played back to its end. --verify: "verified" and status 0 when
// the final score, level, stones and every checkpoint agree with the file,
// status 1 and where it went astray when not. A file that cannot be played
// here (damaged, another version) is refused with status 1.
int RunReplaySim(const SimOptions& options, std::ostream& out, std::ostream& err);
