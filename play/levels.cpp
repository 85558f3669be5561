#include "play/levels.h"

#include <algorithm>
#include <string>

#include "flow/game_clock.h"
#include "flow/globals.h"
#include "platform/trace.h"

namespace {

constexpr int32_t kLevelBannerMs = 5000;

}  // namespace

void CheckLevelUp() {
  if (G.ToGo > 0) return;
  ++G.Level;
  G.ToGo = LevelQuota(G.Level);
  G.LevelBanner = 1;
  G.LevelBannerTime = DeadlineIn(kLevelBannerMs);
  TraceEvent("levelup level=" + std::to_string(G.Level));
}

int LevelQuota(int level) { return level <= 1 ? 30 : 10 * level + 30; }

int BackgroundGrey(int level) {
  // Clamping the level first keeps 20 x level from overflowing in very long
  // games; from level 13 on the background is black anyway.
  return 255 - std::min(20 * std::min(level, 13), 255);
}
