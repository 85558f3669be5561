// The tree's layers: SDL only in platform/ and the entry points, no system
// header in the game logic, play/ and scores/ beneath flow/ (they reach it
// only for the global record, the clock and the leave-by-key rule), and no
// include cycle between units.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

TEST(Architecture, OnlyPlatformAndEntryPointsIncludeSdl) {
  fs::path root = STAKKO_SOURCE_DIR;
  std::regex sdlInclude(R"(^\s*#\s*include\s*[<"](SDL2/)?SDL[^>"]*[>"])");
  std::vector<std::string> offenders;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    const fs::directory_entry& entry = *it;
    fs::path rel = fs::relative(entry.path(), root);
    std::string first = rel.begin()->string();
    if (first == "platform" || first.rfind("build", 0) == 0 || first == ".git") {
      // Never walk into them: a build tree may be huge, and a cross build's
      // wine prefix holds a link to the whole disk.
      if (entry.is_directory()) it.disable_recursion_pending();
      continue;
    }
    if (!entry.is_regular_file()) continue;
    if (rel == fs::path("app/main.cpp")) continue;
    // Measurements against SDL's own paths.
    if (first == "bench" && rel.filename().string().rfind("sdl_", 0) == 0) continue;
    // Tests of the SDL backend's own units.
    if (rel.parent_path() == fs::path("tests/platform/sdl")) continue;
    std::string ext = rel.extension().string();
    if (ext != ".cpp" && ext != ".h" && ext != ".hpp" && ext != ".cc") continue;
    std::ifstream in(entry.path());
    std::string line;
    while (std::getline(in, line)) {
      if (std::regex_search(line, sdlInclude)) offenders.push_back(rel.string() + ": " + line);
    }
  }
  EXPECT_TRUE(offenders.empty()) << offenders.front();
  // The game logic, and the recording that wraps whichever backend runs it,
  // reach the system only through platform/.
  std::regex osInclude(R"(^\s*#\s*include\s*<(windows\.h|unistd\.h|sys/|pthread\.h|fcntl\.h))");
  for (const char* dir : {"flow", "play", "scores", "replay"}) {
    for (const auto& entry : fs::recursive_directory_iterator(root / dir)) {
      std::ifstream in(entry.path());
      std::string line;
      while (std::getline(in, line)) {
        EXPECT_FALSE(std::regex_search(line, osInclude)) << entry.path() << ": " << line;
        EXPECT_FALSE(std::regex_search(line, sdlInclude)) << entry.path() << ": " << line;
      }
    }
  }
}

// A unit is a header and its source (flow/startup.h and .cpp). No unit
// reaches itself through the includes of others: each layer and service can
// be read, tested and replaced from the bottom up.
// flow/ runs the screens and calls into play/ and scores/; were they to call
// back into a screen of flow/, the stack would be a knot.
TEST(Architecture, PlayAndScoresReachFlowOnlyForTheRecordTheClockAndLeavingByKey) {
  const fs::path root = STAKKO_SOURCE_DIR;
  const std::regex flowInclude(R"re(^\s*#\s*include\s*"(flow/[^"]+)")re");
  const std::set<std::string> allowed = {"flow/globals.h", "flow/game_clock.h", "flow/leave_by_key.h"};
  for (const char* dir : {"play", "scores"}) {
    for (const auto& entry : fs::recursive_directory_iterator(root / dir)) {
      std::ifstream in(entry.path());
      std::smatch m;
      for (std::string line; std::getline(in, line);) {
        if (std::regex_search(line, m, flowInclude)) {
          EXPECT_TRUE(allowed.count(m[1])) << entry.path() << ": " << line;
        }
      }
    }
  }
}

TEST(Architecture, NoIncludeCycleBetweenUnits) {
  const fs::path root = STAKKO_SOURCE_DIR;
  std::map<std::string, std::set<std::string>> uses;
  const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)\.(h|cpp)")re");
  for (const char* dir : {"flow", "play", "scores", "replay", "platform", "app"}) {
    for (const auto& entry : fs::recursive_directory_iterator(root / dir)) {
      const std::string ext = entry.path().extension().string();
      if (ext != ".h" && ext != ".cpp") continue;
      const fs::path rel = fs::relative(entry.path(), root);
      const std::string unit = (rel.parent_path() / rel.stem()).generic_string();
      std::ifstream in(entry.path());
      std::smatch m;
      for (std::string line; std::getline(in, line);) {
        if (std::regex_search(line, m, include) && m[1] != unit) uses[unit].insert(m[1]);
      }
    }
  }
  // Depth-first search; a unit met again while still on the path closes a
  // cycle.
  std::map<std::string, int> state;  // 1 on the path, 2 done
  std::vector<std::string> path;
  std::string cycle;
  std::function<void(const std::string&)> visit = [&](const std::string& unit) {
    state[unit] = 1;
    path.push_back(unit);
    for (const std::string& next : uses[unit]) {
      if (!cycle.empty()) break;
      if (state[next] == 1) {
        for (auto it = std::find(path.begin(), path.end(), next); it != path.end(); ++it) cycle += *it + " -> ";
        cycle += next;
      } else if (state[next] == 0) {
        visit(next);
      }
    }
    path.pop_back();
    state[unit] = 2;
  };
  for (const auto& [unit, targets] : uses)
    if (state[unit] == 0 && cycle.empty()) visit(unit);
  EXPECT_TRUE(cycle.empty()) << cycle;
}
