// The command line: every option the game takes, its help text, and the
// refusal of anything else.
#pragma once

#include <string>

#include "platform/sdl/sdl_settings.h"

enum class CommandLine { kPlay, kHelp, kVersion, kRefused };

// What the command line asks beyond the run's settings.
struct RunRequests {
  bool saveSettings = false;  // --save-settings: keep this run's choices
  bool checkOnly = false;     // --check-options: only say whether the rest would play
};

// Fills settings from argv, over what they hold already (the settings
// file's choices). On kRefused, error says what was wrong.
CommandLine ReadCommandLine(int argc, char** argv, platform::SdlSettings& settings, std::string& error,
                            RunRequests* requests = nullptr);
const char* HelpText();
