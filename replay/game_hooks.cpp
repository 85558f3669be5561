#include "replay/game_hooks.h"

#include "flow/globals.h"
#include "platform/calendar.h"
#include "replay/game_start.h"
#include "replay/replay_folder.h"

namespace replay {

RecorderHooks GameRecorderHooks(std::function<void(const ReplayFile&)> finished) {
  RecorderHooks hooks;
  hooks.captureStart = &CaptureGameStart;
  hooks.digest = &GameDigest;
  hooks.claim = [](ReplayFile& file) {
    file.score = G.Score;
    file.level = G.Level;
    file.stones = G.Stones;
    file.name = G.PlayerName;
    const platform::CalendarDate today = platform::LocalDateToday();
    file.year = today.year;
    file.month = today.month;
    file.day = today.day;
  };
  hooks.finished = std::move(finished);
  return hooks;
}

void KeepInReplaysFolder(const ReplayFile& file) { KeepReplay(file, &G.HighScoreTable[1], 10); }

}  // namespace replay
