// The player's lasting choices as text: "key = value" lines, read and
// written without touching any file (settings_file.h does that).
#pragma once

#include <optional>
#include <string>

#include "platform/sdl/sdl_settings.h"

// What a settings file holds: each choice only when the file names it.
struct StoredSettings {
  std::optional<bool> window;  // mode = window | fullscreen
  std::optional<int> width;    // size = WxH, the windowed size
  std::optional<int> height;
  std::optional<platform::ScaleChoice> scale;
  std::optional<platform::PresentChoice> present;
  std::optional<int> fps;
  std::optional<bool> sound;  // sound = on | off
  std::optional<int> volume;  // 0..100
};

// Reads the text; '#' starts a comment line, blank lines are fine. False,
// with error naming the line, for anything not understood: a file half
// understood is not applied at all.
bool ParseSettings(const std::string& text, StoredSettings& out, std::string& error);
// The text for what is set, in a fixed order, one line each.
std::string FormatSettings(const StoredSettings& stored);

// The file's choices over the plain game's.
void ApplySettings(const StoredSettings& stored, platform::SdlSettings& settings);
// Every choice of a run, for --save-settings.
StoredSettings SettingsOfRun(const platform::SdlSettings& settings);

// A window size given as "WxH", each side 64..32767; false otherwise.
bool ReadWindowSize(const std::string& text, int& width, int& height);
