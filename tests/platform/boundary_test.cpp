// The layers: SDL only in platform/ and the entry points, no system header
// in the game logic.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>



namespace fs = std::filesystem;

TEST(PlatformBoundary, OnlyPlatformAndEntryPointsIncludeSdl) {
  fs::path root = STAKKO_SOURCE_DIR;
  std::regex sdlInclude(R"(^\s*#\s*include\s*[<"](SDL2/)?SDL[^>"]*[>"])");
  std::vector<std::string> offenders;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    fs::path rel = fs::relative(entry.path(), root);
    std::string first = rel.begin()->string();
    if (first == "platform" || first.rfind("build", 0) == 0 || first == ".git") continue;
    if (rel == fs::path("app/main.cpp")) continue;
    // Measurements against SDL's own paths.
    if (first == "bench" && rel.filename().string().rfind("sdl_", 0) == 0) continue;
    std::string ext = rel.extension().string();
    if (ext != ".cpp" && ext != ".h" && ext != ".hpp" && ext != ".cc") continue;
    std::ifstream in(entry.path());
    std::string line;
    while (std::getline(in, line)) {
      if (std::regex_search(line, sdlInclude)) offenders.push_back(rel.string() + ": " + line);
    }
  }
  EXPECT_TRUE(offenders.empty()) << offenders.front();
  // The game logic reaches the system only through platform/.
  std::regex osInclude(R"(^\s*#\s*include\s*<(windows\.h|unistd\.h|sys/|pthread\.h|fcntl\.h))");
  for (const char* dir : {"flow", "play", "scores"}) {
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
