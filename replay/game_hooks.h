// The recorder's view of this game: what it captures at the start, digests
// at each checkpoint and claims at the end.
#pragma once

#include <functional>

#include "replay/recording_backend.h"

namespace replay {

RecorderHooks GameRecorderHooks(std::function<void(const ReplayFile&)> finished);

// Keeps a finished game in the Replays folder, beside the table it may be in.
void KeepInReplaysFolder(const ReplayFile& file);

}  // namespace replay
