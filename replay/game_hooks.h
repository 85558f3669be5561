// The recorder's view of this game: what it captures at the start, digests
// at each checkpoint and claims at the end.
#pragma once

#include <functional>

#include "replay/recording_backend.h"

namespace replay {

RecorderHooks GameRecorderHooks(std::function<void(const ReplayFile&)> finished);

}  // namespace replay
