#include "app/replay_modes.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "flow/end_program.h"
#include "flow/globals.h"
#include "platform/files.h"
#include "platform/headless/headless_backend.h"
#include "platform/internal/state_reset.h"
#include "platform/keycodes.h"
#include "replay/replay_folder.h"
#include "replay/replay_run.h"
#include "scores/high_scores.h"

namespace {

using Clock = std::chrono::steady_clock;

struct StopWatching {};

// Holds the replay to its recorded clock, scaled by the chosen speed; the
// watcher's keys are read straight from the window, never by the game.
class Pacer {
 public:
  explicit Pacer(platform::Backend& window) : window_(window) {}

  void OnClock(int64_t micros) {
    last_ = micros;
    if (!started_) {
      started_ = true;
      Rebase();
    }
    for (;;) {
      ReadKeys();
      if (!paused_) {
        const auto target = realBase_ + std::chrono::microseconds(
                                            static_cast<int64_t>(static_cast<double>(micros - tapeBase_) / speed_));
        const auto now = Clock::now();
        if (now >= target) return;
        std::this_thread::sleep_for(std::min<Clock::duration>(target - now, std::chrono::milliseconds(2)));
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      window_.PumpEvents();
    }
  }

  void ReadKeys() {
    uint8_t keys[256];
    if (!window_.ReadKeyboard(keys)) std::memset(keys, 0, sizeof keys);
    auto pressed = [&](int key) { return (keys[key] & 0x80) != 0 && (held_[key] & 0x80) == 0; };
    if (pressed(KeyEscape)) throw StopWatching{};
    if (pressed(KeySpace)) paused_ = !paused_;
    if (pressed(KeyRight) && speed_ < 4.0) speed_ *= 2.0;
    if (pressed(KeyLeft) && speed_ > 0.5) speed_ /= 2.0;
    if (std::memcmp(keys, held_, sizeof keys) != 0) Rebase();
    std::memcpy(held_, keys, sizeof keys);
  }

 private:
  void Rebase() {
    tapeBase_ = last_;
    realBase_ = Clock::now();
  }

  platform::Backend& window_;
  bool started_ = false;
  bool paused_ = false;
  double speed_ = 1.0;
  int64_t last_ = 0;
  int64_t tapeBase_ = 0;
  Clock::time_point realBase_;
  uint8_t held_[256] = {};
};

}  // namespace

bool TakeReplayOptions(int& argc, char** argv, ReplayRequest& request, std::string& error) {
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--verify-table") {
      request.verifyTable = true;
    } else if (a == "--replay") {
      if (i + 1 >= argc) {
        error = "option '--replay' needs a file";
        return false;
      }
      request.watch = argv[++i];
    } else if (a.rfind("--replay=", 0) == 0) {
      request.watch = a.substr(9);
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  argv[argc] = nullptr;
  return true;
}

void WatchReplay(platform::Backend& window, const std::string& path) {
  replay::ReplayFile file;
  std::string error;
  if (!replay::LoadReplay(path, file, error)) {
    std::fprintf(stderr, "stakko: %s\n", error.c_str());
    window.EndProcess(1);
  }
  Pacer pacer(window);
  replay::ReplayOutcome outcome;
  try {
    outcome = replay::RunReplay(window, file, [&](replay::TapeBackend& tape) {
      tape.onClock = [&](int64_t micros) { pacer.OnClock(micros); };
    });
  } catch (const StopWatching&) {
    EndProgram(0);
  }
  if (outcome.refused || outcome.astray) {
    std::fprintf(stderr, "stakko: %s: %s\n", path.c_str(), outcome.message.c_str());
    EndProgram(1);
  }
  EndProgram(0);
}

int VerifyTable() {
  std::optional<std::vector<uint8_t>> bytes = platform::ReadFileStart(kHighScorePath, 1 << 16);
  if (!bytes) {
    std::printf("No high-score table in %s.\n", kHighScorePath);
    return 1;
  }
  DecodeHighScores(*bytes);
  HighScoreEntry rows[11];
  for (int r = 1; r <= 10; ++r) rows[r] = G.HighScoreTable[r];
  std::vector<replay::ReplayFile> replays;
  std::vector<std::string> names;
  for (const std::string& name : replay::ReplayNames()) {
    replay::ReplayFile f;
    std::string error;
    if (replay::LoadReplay(std::string(replay::kReplaysFolder) + "\\" + name, f, error)) {
      replays.push_back(std::move(f));
      names.push_back(name);
    }
  }
  std::vector<bool> used(replays.size(), false);
  int proven = 0, failed = 0;
  for (int r = 1; r <= 10; ++r) {
    const HighScoreEntry& row = rows[r];
    std::printf("%2d  %-8s %6d  %s  %3d  ", r, row.name.c_str(), row.score, row.date.c_str(), row.level);
    size_t found = replays.size();
    for (size_t i = 0; i < replays.size() && found == replays.size(); ++i)
      if (!used[i] && replay::MadeRow(replays[i], row)) found = i;
    if (found == replays.size()) {
      std::printf("no replay\n");
      continue;
    }
    used[found] = true;
    platform::ResetAllPlatformState();
    ClearGameGlobals();
    platform::HeadlessBackend headless;
    headless.frameStepMicros = 0;
    headless.pollStepMicros = 0;
    headless.captureLastFrame = false;
    platform::SetBackend(&headless);
    const replay::ReplayOutcome outcome = replay::RunReplay(headless, replays[found]);
    platform::SetBackend(nullptr);
    std::string message;
    if (replay::Verified(replays[found], outcome, message)) {
      std::printf("proven by %s\n", names[found].c_str());
      ++proven;
    } else {
      std::printf("NOT proven by %s: %s\n", names[found].c_str(), message.c_str());
      ++failed;
    }
  }
  std::printf("%d of 10 rows proven by their replays%s\n", proven, failed ? "; some replays do not prove their rows" : "");
  return failed == 0 ? 0 : 1;
}
