// Start-up and shut-down: a failed service, the order of starts and stops,
// stop signals, files that would block, and the first state.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <filesystem>
#include <fstream>
#include <sstream>

#include "flow/globals.h"
#include "flow/startup.h"
#include "platform/internal/state_reset.h"
#include "platform/internal/stop_signal.h"
#include "platform/screen.h"
#include "tests/test_support.h"
#include "tools/sim/scenario.h"

namespace fs = std::filesystem;

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

TEST(StartUp, StopSignalAndClosedWindowEndThroughTheNormalShutDown) {
  // A signal (or the window's close button) asked for a stop in the middle
  // of the attract screens: the next frame or input read stops every
  // service, in the game's own order, and the process ends with 128 + the
  // signal's number (0 for the closed window, as "Yes" gives).
  for (const bool closed : {false, true}) {
    ScopedWorkDir dir;
    SimOptions options;
    std::vector<std::string> lifecycle;
    options.prepare = [&](platform::HeadlessBackend& b) {
      b.onPresent = [closed](platform::HeadlessBackend& hb) {
        if (hb.framesPresented == 50) closed ? platform::RequestEnd(0) : platform::RequestStop(15);
      };
      b.traceSink = [&](const std::string& line) {
        if (line.find("end code=") != std::string::npos) lifecycle = b.lifecycle;
      };
    };
    std::ostringstream out, err;
    EXPECT_EQ(RunSim(options, out, err), closed ? 0 : 128 + 15);
    ASSERT_GE(lifecycle.size(), 5u);
    const std::vector<std::string> last(lifecycle.end() - 5, lifecycle.end());
    EXPECT_EQ(last, (std::vector<std::string>{"StopAudio", "StopKeyboard", "StopMouse", "CloseWindow", "StopVideo"}));
  }
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
