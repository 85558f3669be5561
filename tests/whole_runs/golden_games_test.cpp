// Whole scripted runs of the game (start-up, play, name entry, the table and
// the attract screens) give exactly the event trace and the pictures they
// gave when recorded: a change meant to leave the game alone must leave
// these alone. Each tests/data/golden/<name>.script starts with the
// stakko-sim arguments it was recorded with; <name>.expected holds the trace
// and a hash of each dumped frame. Frames showing today's date are not
// dumped.
//
// After a deliberate change of what the game shows (new art, a fixed rule),
// record again with STAKKO_RECORD_GOLDEN=1 and review the difference.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/test_support.h"
#include "tools/sim/scenario.h"

namespace fs = std::filesystem;

namespace {

const fs::path kGoldenDir = fs::path(STAKKO_SOURCE_DIR) / "tests" / "data" / "golden";

uint64_t Fnv1a(const std::string& bytes) {
  uint64_t h = 0xcbf29ce484222325ull;
  for (unsigned char c : bytes) h = (h ^ c) * 0x100000001b3ull;
  return h;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// The trace of the run followed by "frame-N <hash>" for each dumped frame.
std::string RunGolden(const std::string& name) {
  const fs::path script = kGoldenDir / (name + ".script");
  std::string header;
  std::getline(std::ifstream(script) >> std::ws, header);
  const std::string prefix = "# stakko-sim ";
  EXPECT_EQ(header.rfind(prefix, 0), 0u) << script;
  std::vector<std::string> args;
  std::istringstream words(header.substr(prefix.size()));
  for (std::string w; words >> w;) args.push_back(w);

  ScopedWorkDir dir;
  CopyRunAssets(dir.path());
  fs::create_directory(dir.path() / "Data");
  const fs::path dumps = dir.path() / "frames";
  args.insert(args.end(), {"--dir", dir.path().string(), "--dump-dir", dumps.string(), "--script",
                           script.string(), "--trace"});
  SimOptions options;
  std::string error;
  EXPECT_TRUE(ParseSimArgs(args, options, error)) << error;
  std::ostringstream out, err;
  EXPECT_EQ(RunSim(options, out, err), 0) << err.str();

  std::string result = out.str();
  for (int64_t frame : options.dumpFrames) {
    const fs::path png = dumps / ("frame-" + std::to_string(frame) + ".png");
    if (!fs::exists(png)) continue;
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a(ReadAll(png))));
    result += "frame-" + std::to_string(frame) + " " + hash + "\n";
  }
  return result;
}

class GoldenGame : public ::testing::TestWithParam<const char*> {};

TEST_P(GoldenGame, SameTraceAndFramesAsRecorded) {
  const std::string name = GetParam();
  const std::string actual = RunGolden(name);
  const fs::path expectedPath = kGoldenDir / (name + ".expected");
  if (std::getenv("STAKKO_RECORD_GOLDEN") != nullptr) {
    std::ofstream(expectedPath, std::ios::binary) << actual;
    GTEST_SKIP() << "recorded " << expectedPath;
  }
  const std::vector<std::string> want = Lines(ReadAll(expectedPath));
  const std::vector<std::string> got = Lines(actual);
  ASSERT_FALSE(want.empty()) << expectedPath;
  for (size_t i = 0; i < want.size() && i < got.size(); ++i) {
    ASSERT_EQ(got[i], want[i]) << name << " differs first at line " << i + 1;
  }
  EXPECT_EQ(got.size(), want.size()) << name;
}

INSTANTIATE_TEST_SUITE_P(Runs, GoldenGame, ::testing::Values("game_moves", "game_focus", "attract"));

}  // namespace
