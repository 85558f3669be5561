// The scenario runner's command line and scripts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "platform/option_text.h"
#include "tests/test_support.h"
#include "tools/sim/audio_capture.h"
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
  // One rule for numbers: digits only, in range.
  for (const char* bad : {" 5", "+5", "5 ", "-5", "4294967296", "99999999999999999999", ""}) {
    EXPECT_FALSE(ParseSimArgs({"--seed", bad}, options, error)) << bad;
  }
  ASSERT_TRUE(ParseSimArgs({"--seed", "4294967295", "--until-ms", "007"}, options, error)) << error;
  EXPECT_EQ(options.seed, 4294967295u);
  EXPECT_EQ(options.untilMs, 7);
  // What is quoted back cannot act on the terminal; letters stay letters.
  EXPECT_EQ(platform::Printable("\x1b]0;pwned\x07\x7f\xc2\x9b" "1m \xc3\xa9t\xc3\xa9"),
            "\\x1b]0;pwned\\x07\\x7f\\xc2\\x9b1m \xc3\xa9t\xc3\xa9");

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

TEST(ScenarioRunner, AudioOutIsCheckedBeforeTheRunSaysWhyAndStopsAtTheFormatsLimit) {
  ScopedWorkDir dir;
  SimOptions options;
  std::string error;
  EXPECT_FALSE(ParseSimArgs({"--audio-out", ""}, options, error));
  EXPECT_NE(error.find("--audio-out"), std::string::npos);

  // Refused before a single frame is played, with the reason; a FIFO no one
  // reads is refused rather than waited on for ever.
  options.untilMs = 100;
  options.audioOut = (dir.path() / "no-such-folder" / "mix.wav").string();
  std::vector<std::string> refused = {options.audioOut};
#ifndef _WIN32
  ASSERT_EQ(::mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
  refused.push_back((dir.path() / "fifo").string());
#endif
  for (const std::string& path : refused) {
    options.audioOut = path;
    std::ostringstream out, err;
    EXPECT_EQ(RunSim(options, out, err), 2) << path;
    EXPECT_EQ(out.str(), "") << "the run went ahead";
    EXPECT_NE(err.str().find(path.find("fifo") == std::string::npos ? "No such file" : "not a regular file"),
              std::string::npos)
        << err.str();
  }

  // The 32-bit sizes of a wave file: past the limit nothing more is
  // written, the header stays true, and the end says where it stopped.
  platform::HeadlessBackend backend;
  AudioCapture capture(1000);
  ASSERT_TRUE(capture.Open(dir.path() / "long.wav", error)) << error;
  backend.now = 1000000;
  capture.CatchUp(backend);
  EXPECT_FALSE(capture.Finish(error));
  EXPECT_NE(error.find("stops at 5 ms"), std::string::npos) << error;
  const std::vector<uint8_t> wave = ReadBytes(dir.path() / "long.wav");
  ASSERT_EQ(wave.size(), 1044u);
  const auto wave32 = [&](size_t at) { return wave[at] | wave[at + 1] << 8 | wave[at + 2] << 16 | wave[at + 3] << 24; };
  EXPECT_EQ(wave32(4), 1036);
  EXPECT_EQ(wave32(40), 1000);
}
