// The scenario runner: the real game, start-up to end, on the headless
// backend, driven by a script of timed input events.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"

struct SimOptions {
  std::string dir = ".";
  std::optional<uint32_t> seed;
  int64_t frameUs = 1000;
  int64_t pollUs = 10;
  std::vector<platform::ScriptEvent> events;
  platform::HeadlessBackend::Failures fail;
  int64_t frames = 0;   // stop after this many presented frames (0: no limit)
  int64_t untilMs = 0;  // stop at this virtual time (0: no limit)
  std::set<int64_t> dumpFrames;
  std::string dumpDir = ".";
  std::string audioOut;  // wave file for the mix the game played ("" for none)
  bool trace = false;
  bool board = false;
  // A recorded game to run instead of a script; with verify, only whether
  // it plays back to what it claims.
  std::string replay;
  bool verify = false;
  // Record the scripted run's games; the last one is written here.
  std::string record;
  // For tests: called with the backend before the game starts.
  std::function<void(platform::HeadlessBackend&)> prepare;
};

// Parses "1,40,100-110". Returns false on a malformed list.
bool ParseFrameList(const std::string& text, std::set<int64_t>& out);

// One event a line: "<ms> key <KeyCode> down|up", "<ms> mouse <dx> <dy>",
// "<ms> button <1|2|3> down|up", "<ms> focus lost|gained"; '#' comments.
bool ParseScript(std::istream& in, std::vector<platform::ScriptEvent>& out, std::string& error);

// Command-line options. Returns false with a message on a bad option or an
// unreadable script.
bool ParseSimArgs(const std::vector<std::string>& args, SimOptions& options, std::string& error);

// Runs the game; returns the process exit status: the game's own when it
// ended (0 after "Yes", 1 after a failed start-up), 0 when a stop condition
// (--frames, --until-ms, the end of the run) came first, 1 when a frame
// dump could not be written.
int RunSim(const SimOptions& options, std::ostream& out, std::ostream& err);

// A run's last lines: the final state and, with --board, the well.
void PrintRunEnd(const SimOptions& options, platform::HeadlessBackend& backend, std::ostream& out);

extern const char* const kSimUsage;
