// The command line: every option the game takes, its help text, and the
// refusal of anything else.
#pragma once

#include <string>

#include "platform/sdl/sdl_settings.h"

enum class CommandLine { kPlay, kHelp, kRefused };

// Fills settings from argv. On kRefused, error says what was wrong.
CommandLine ReadCommandLine(int argc, char** argv, platform::SdlSettings& settings, std::string& error);
const char* HelpText();
