// The scenario runner's command line and scripts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/test_support.h"
#include "tools/sim/scenario.h"

namespace fs = std::filesystem;

TEST(ScenarioRunner, RejectsBadOptionsAndNamesTheScriptLine) {
  SimOptions options;
  std::string error;
  EXPECT_FALSE(ParseSimArgs({"--frobnicate"}, options, error));
  EXPECT_FALSE(ParseSimArgs({"--seed", "x"}, options, error));
  EXPECT_FALSE(ParseSimArgs({"--fail", "disk"}, options, error));
  EXPECT_FALSE(ParseSimArgs({"--frames"}, options, error));
  // Waits that only read the keyboard would never see time pass.
  EXPECT_FALSE(ParseSimArgs({"--poll-us", "0"}, options, error));
  EXPECT_NE(error.find("--poll-us"), std::string::npos);
  EXPECT_FALSE(ParseSimArgs({"--script", "/no/such/file"}, options, error));

  std::vector<platform::ScriptEvent> events;
  std::istringstream good(
      "# a comment\n"
      "100 key 57 down\n"
      "150 key 57 up  # trailing\n"
      "\n"
      "200 mouse -5 7\n"
      "210 button 1 down\n"
      "300 focus lost\n");
  ASSERT_TRUE(ParseScript(good, events, error)) << error;
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0].atMicros, 100000);
  EXPECT_EQ(events[0].a, 57);
  EXPECT_TRUE(events[0].on);
  EXPECT_EQ(events[2].b, 7);
  EXPECT_FALSE(events[4].on);

  std::istringstream bad("10 key 57 down\n20 key 300 down\n");
  events.clear();
  EXPECT_FALSE(ParseScript(bad, events, error));
  EXPECT_NE(error.find("line 2"), std::string::npos) << error;

  std::set<int64_t> frames;
  EXPECT_TRUE(ParseFrameList("1,40,100-103", frames));
  EXPECT_EQ(frames, (std::set<int64_t>{1, 40, 100, 101, 102, 103}));
  EXPECT_FALSE(ParseFrameList("5-2", frames));
  EXPECT_FALSE(ParseFrameList("0", frames));
}
