#include "replay/replay_folder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <set>

#include "platform/files.h"
#include "scores/high_scores.h"

namespace replay {

namespace fs = std::filesystem;

namespace {

std::string GamePath(const std::string& name) { return std::string(kReplaysFolder) + "\\" + name; }

// "game-20261209-125501-01.stkr": the names sort as the games ended (UTC).
std::string NewName() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
#ifdef _WIN32
  gmtime_s(&utc, &now);
#else
  gmtime_r(&now, &utc);
#endif
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &utc);
  for (int n = 1; n < 100; ++n) {
    char name[64];
    std::snprintf(name, sizeof name, "game-%s-%02d.stkr", stamp, n);
    if (platform::ExamineFile(GamePath(name), nullptr) == platform::FileKind::Missing) return name;
  }
  return "";
}

}  // namespace

bool MadeRow(const ReplayFile& file, const HighScoreEntry& row) {
  return row.score == file.score && row.level == file.level && row.name == file.name &&
         row.date == FormatDateText(file.year, file.month, file.day);
}

std::vector<std::string> ReplayNames() {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(platform::HostPath(kReplaysFolder), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() > 5 && name.rfind("game-", 0) == 0 && name.substr(name.size() - 5) == ".stkr")
      names.push_back(name);
  }
  std::sort(names.rbegin(), names.rend());
  return names;
}

std::string KeepReplay(const ReplayFile& file, const HighScoreEntry* rows, int rowCount) {
  try {
    if (platform::ExamineFile(kReplaysFolder, nullptr) != platform::FileKind::Folder) return "";
    const std::string name = NewName();
    if (name.empty() || !platform::WriteFileReplacing(GamePath(name), EncodeReplay(file))) return "";
    // Newest first: each row keeps the newest game that made it.
    std::vector<bool> rowTaken(static_cast<size_t>(rowCount), false);
    const std::vector<std::string> names = ReplayNames();
    for (size_t i = 0; i < names.size(); ++i) {
      ReplayFile old;
      std::string error;
      bool keep = i < static_cast<size_t>(kKeptRecent);
      const bool readable = LoadReplay(GamePath(names[i]), old, error);
      for (int r = 0; readable && r < rowCount; ++r) {
        if (!rowTaken[static_cast<size_t>(r)] && MadeRow(old, rows[r])) {
          rowTaken[static_cast<size_t>(r)] = true;
          keep = true;
          break;
        }
      }
      std::error_code ec;
      if (!keep) fs::remove(fs::path(platform::HostPath(GamePath(names[i]))), ec);
    }
    return name;
  } catch (...) {
    // Out of memory or a folder that cannot be listed: the game plays on.
    return "";
  }
}

}  // namespace replay
