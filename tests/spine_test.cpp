// Start-up, shut-down, the screen's colour layout, the clock and the
// generator, the scenario runner's interface and the platform boundary.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "flow/globals.h"
#include "flow/startup.h"
#include "platform/internal/state_reset.h"
#include "platform/process.h"
#include "platform/screen.h"
#include "platform/timing.h"
#include "tests/test_support.h"
#include "tools/sim/scenario.h"

namespace fs = std::filesystem;

TEST(RandomGenerator, SeedZeroGivesKnownSequence) {
  platform::HeadlessBackend backend;
  platform::SetBackend(&backend);
  platform::ResetTimingState();
  RandomSeed(0);
  EXPECT_EQ(platform::RandomStep(), 0x8B910D61u);
  EXPECT_EQ(platform::RandomStep(), 0xC8AFE081u);
  EXPECT_EQ(platform::RandomStep(), 0xA90E502Fu);
  RandomSeed(0);
  const uint32_t expected[6] = {4, 5, 4, 3, 2, 4};
  for (uint32_t e : expected) EXPECT_EQ(RandomRange(6, 1), e);
  platform::SetBackend(nullptr);
}

TEST(RandomGenerator, RangesAndDegenerateBounds) {
  platform::HeadlessBackend backend;
  platform::SetBackend(&backend);
  platform::ResetTimingState();
  RandomSeed(77);
  bool seen[7] = {};
  for (int k = 0; k < 2000; ++k) {
    uint32_t v = RandomRange(6, 1);
    ASSERT_GE(v, 1u);
    ASSERT_LE(v, 6u);
    seen[v] = true;
  }
  for (int v = 1; v <= 6; ++v) EXPECT_TRUE(seen[v]) << v;
  for (int k = 0; k < 50; ++k) {
    EXPECT_EQ(RandomRange(5, 5), 5u);
    EXPECT_EQ(RandomRange(1, 6), 1u);  // min above max collapses onto max
  }
  // RandomBelowOrAt(0) is always 0 but still uses a step.
  RandomSeed(0);
  EXPECT_EQ(RandomBelowOrAt(0), 0u);
  EXPECT_EQ(platform::RandomStep(), 0xC8AFE081u);
  // The full range returns the raw step.
  RandomSeed(0);
  EXPECT_EQ(RandomBelowOrAt(0xFFFFFFFFu), 0x8B910D61u);
  platform::SetBackend(nullptr);
}

TEST_F(HeadlessTest, ClockStartsNearZeroAndNeverGoesBack) {
  backend.now = 5'000'000;  // the clock's origin is its first reading
  EXPECT_EQ(ElapsedMs(), 0);
  int64_t last = 0;
  for (int i = 0; i < 1000; ++i) {
    backend.now += 137;
    int64_t t = ElapsedMs();
    EXPECT_GE(t, last);
    last = t;
  }
  EXPECT_EQ(last, 137);
}

TEST_F(HeadlessTest, ScreenColourLayoutAndDepths) {
  ASSERT_EQ(StartScreenSystem(), 1);
  EXPECT_EQ(OpenGameScreen(640, 480, 24, "Stakko", 0), 0);
  EXPECT_FALSE(backend.windowOpen);
  ASSERT_EQ(OpenGameScreen(640, 480, 32, "Stakko", 0), 1);
  ClearBackBuffer(MakeColour(255, 0, 0));
  FlipFrame();
  EXPECT_EQ(backend.framesPresented, 1);
  EXPECT_EQ(backend.LastFramePixel(0, 0), MakeColour(255, 0, 0));
  EXPECT_EQ(backend.lastFrame[0], 0x00FF0000u);  // red in memory's XRGB order
  EXPECT_EQ(MakeColour(1, 2, 3), 0x030201u);
  // The back buffer keeps its content across a flip.
  FlipFrame();
  EXPECT_EQ(backend.LastFramePixel(639, 479), MakeColour(255, 0, 0));
  CloseGameScreen();
  CloseGameScreen();  // harmless the second time
  EXPECT_EQ(std::count(backend.lifecycle.begin(), backend.lifecycle.end(), "CloseWindow"), 1);
}

TEST_F(HeadlessTest, FramesAreNotPresentedWhileUnfocused) {
  ASSERT_EQ(StartScreenSystem(), 1);
  ASSERT_EQ(OpenGameScreen(640, 480, 32, "Stakko", 0), 1);
  backend.SetFocus(false);
  int64_t before = backend.now;
  EXPECT_EQ(FlipFrame(), 1);
  EXPECT_EQ(backend.framesPresented, 0);
  EXPECT_GT(backend.now, before);  // the game keeps running
  backend.SetFocus(true);
  FlipFrame();
  EXPECT_EQ(backend.framesPresented, 1);
}

namespace {

struct SimRun {
  int status = -1;
  std::string out;
  std::string err;
};

SimRun RunSimWith(std::vector<std::string> args) {
  SimOptions options;
  std::string error;
  SimRun run;
  if (!ParseSimArgs(args, options, error)) {
    run.err = error;
    return run;
  }
  std::ostringstream out, err;
  run.status = RunSim(options, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

}  // namespace

TEST(StartUp, FailedServiceShowsBoxAndEndsWithoutAFrame) {
  ScopedWorkDir dir;
  for (const char* service : {"sound", "keyboard", "screen", "mouse", "open"}) {
    SCOPED_TRACE(service);
    std::vector<std::string> lifecycle;
    SimOptions options;
    std::string error;
    ASSERT_TRUE(ParseSimArgs({"--fail", service, "--trace", "--frames", "10"}, options, error));
    platform::HeadlessBackend* seen = nullptr;
    options.prepare = [&](platform::HeadlessBackend& b) { seen = &b; };
    std::ostringstream out, err;
    // A failed start-up ends with status 1, never a success.
    EXPECT_EQ(RunSim(options, out, err), 1);
    ASSERT_NE(seen, nullptr);
    std::string text = out.str();
    EXPECT_NE(text.find("msgbox \"Error!\" \"Unable to Initialize game settings.\""), std::string::npos) << text;
    EXPECT_NE(text.find("f=0 end code=1"), std::string::npos) << text;
    EXPECT_EQ(text.find("state "), std::string::npos) << "the main loop must not run";
  }
}

TEST(StartUp, AllFiveStartUpsRunThenServicesStopInOrder) {
  ScopedWorkDir dir;
  SimOptions options;
  std::vector<std::string> lifecycle;
  options.fail.sound = true;
  // Capture the lifecycle before the backend goes away.
  options.prepare = [&](platform::HeadlessBackend& b) {
    b.traceSink = [&](const std::string& line) {
      if (line.find("end code=") != std::string::npos) lifecycle = b.lifecycle;
    };
  };
  std::ostringstream out, err;
  EXPECT_EQ(RunSim(options, out, err), 1);
  const std::vector<std::string> expected = {"StartKeyboard", "StartVideo",   "StartMouse", "StartAudio",
                                             "OpenWindow",    "StopKeyboard", "StopMouse",  "CloseWindow",
                                             "StopVideo"};
  EXPECT_EQ(lifecycle, expected);  // sound never started, so nothing to stop
}

TEST(StartUp, StopSignalEndsThroughTheNormalShutDown) {
  // A signal asked for a stop in the middle of the attract screens: the next
  // frame or input read stops every service, in the game's own order, and
  // the process ends with 128 + the signal's number.
  ScopedWorkDir dir;
  SimOptions options;
  std::vector<std::string> lifecycle;
  options.prepare = [&](platform::HeadlessBackend& b) {
    b.onPresent = [](platform::HeadlessBackend& hb) {
      if (hb.framesPresented == 50) platform::RequestStop(15);
    };
    b.traceSink = [&](const std::string& line) {
      if (line.find("end code=") != std::string::npos) lifecycle = b.lifecycle;
    };
  };
  std::ostringstream out, err;
  EXPECT_EQ(RunSim(options, out, err), 128 + 15);
  ASSERT_GE(lifecycle.size(), 5u);
  const std::vector<std::string> last(lifecycle.end() - 5, lifecycle.end());
  EXPECT_EQ(last, (std::vector<std::string>{"StopAudio", "StopKeyboard", "StopMouse", "CloseWindow", "StopVideo"}));
}

#ifndef _WIN32
TEST(StartUp, FifosInPlaceOfAPictureAndASoundNeverBlock) {
  // Opening a FIFO for reading waits for a writer that never comes; such
  // names read as files that cannot be opened, and the game starts.
  ScopedWorkDir dir;
  CopyRunAssets(dir.path());
  for (const char* name : {"graphics/Jewels.bmp", "Sound/Drop.wav"}) {
    fs::remove(dir.path() / name);
    ASSERT_EQ(::mkfifo((dir.path() / name).c_str(), 0600), 0) << name;
  }
  SimRun run = RunSimWith({"--dir", dir.path().string(), "--trace", "--frames", "5"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("state 0 1"), std::string::npos) << run.out;
  EXPECT_EQ(G.JewelSheet, 0);
  EXPECT_EQ(G.DropSound, 0);
  EXPECT_NE(G.ExplosionSound, 0);
}
#endif

TEST(StartUp, MainLoopStartsOnTheTitle) {
  ScopedWorkDir dir;
  SimRun run = RunSimWith({"--trace", "--frames", "3"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("state 0 1"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("final CurrentState="), std::string::npos) << run.out;
}

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
    // Tests of the SDL backend's own units.
    if (rel.parent_path() == fs::path("tests/sdl")) continue;
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
