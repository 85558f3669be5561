// The game's command line: numbers by the same strict rule as the scenario
// runner's, and an unknown option called unknown whatever follows it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/options.h"

namespace {

CommandLine Read(std::vector<std::string> args, platform::SdlSettings& settings, std::string& error) {
  args.insert(args.begin(), "stakko");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  return ReadCommandLine(static_cast<int>(argv.size()), argv.data(), settings, error);
}

}  // namespace

TEST(CommandLine, NumbersAreDigitsOnlyAndUnknownOptionsAreNamedSo) {
  platform::SdlSettings settings;
  std::string error;
  for (const char* bad : {" 5", "+5", "5 ", "-1", "100001", "0x10", ""}) {
    EXPECT_EQ(Read({"--fps", bad}, settings, error), CommandLine::kRefused) << bad;
  }
  ASSERT_EQ(Read({"--fps=60"}, settings, error), CommandLine::kPlay) << error;
  EXPECT_EQ(settings.fps, 60);
  for (const char* unknown : {"--=x", "--no-such=1", "-x"}) {
    EXPECT_EQ(Read({unknown}, settings, error), CommandLine::kRefused);
    EXPECT_EQ(error, "unknown option '" + std::string(unknown) + "'");
  }
  EXPECT_EQ(Read({"--window=yes"}, settings, error), CommandLine::kRefused);
  EXPECT_EQ(error, "option '--window' takes no value");
}
