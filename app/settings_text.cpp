#include "app/settings_text.h"

#include "platform/option_text.h"

namespace {

using platform::PresentChoice;
using platform::ScaleChoice;

std::string Trim(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  const size_t last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

// The command line's one rule for numbers: plain digits, no sign or blanks.
bool ReadDigits(const std::string& text, int& out) {
  int64_t value = 0;
  if (!platform::ReadWholeNumber(text, 999999, value)) return false;
  out = static_cast<int>(value);
  return true;
}

// Reads one "key = value"; the empty string when it was understood.
std::string ReadSetting(const std::string& key, const std::string& value, StoredSettings& out) {
  int number = 0;
  if (key == "mode") {
    if (value == "window") out.window = true;
    else if (value == "fullscreen") out.window = false;
    else return "mode is window or fullscreen";
  } else if (key == "size") {
    int w = 0, h = 0;
    if (!ReadWindowSize(value, w, h)) return "size is WIDTHxHEIGHT, each from 64 to 32767";
    out.width = w;
    out.height = h;
  } else if (key == "scale") {
    if (value == "fill") out.scale = ScaleChoice::kFill;
    else if (value == "integer") out.scale = ScaleChoice::kInteger;
    else return "scale is fill or integer";
  } else if (key == "present") {
    if (value == "auto") out.present = PresentChoice::kAuto;
    else if (value == "gpu") out.present = PresentChoice::kGpu;
    else if (value == "cpu") out.present = PresentChoice::kCpu;
    else return "present is auto, gpu or cpu";
  } else if (key == "fps") {
    if (!ReadDigits(value, number) || number > 100000) return "fps is a whole number from 0 (no limit) up";
    out.fps = number;
  } else if (key == "sound") {
    if (value == "on") out.sound = true;
    else if (value == "off") out.sound = false;
    else return "sound is on or off";
  } else if (key == "volume") {
    if (!ReadDigits(value, number) || number > 100) return "volume is a whole number from 0 to 100";
    out.volume = number;
  } else {
    return "unknown setting '" + key + "'";
  }
  return "";
}

}  // namespace

bool ReadWindowSize(const std::string& text, int& width, int& height) {
  const size_t x = text.find('x');
  if (x == std::string::npos) return false;
  int w = 0, h = 0;
  if (!ReadDigits(text.substr(0, x), w) || !ReadDigits(text.substr(x + 1), h)) return false;
  if (w < 64 || h < 64 || w > 32767 || h > 32767) return false;
  width = w;
  height = h;
  return true;
}

bool ParseSettings(const std::string& text, StoredSettings& out, std::string& error) {
  StoredSettings read;
  size_t start = 0;
  for (int lineNumber = 1; start < text.size(); ++lineNumber) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trim(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == '#') continue;
    const size_t eq = line.find('=');
    std::string problem = eq == std::string::npos
                              ? "not a 'key = value' line"
                              : ReadSetting(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)), read);
    if (!problem.empty()) {
      error = "line " + std::to_string(lineNumber) + ": " + problem;
      return false;
    }
  }
  out = read;
  return true;
}

std::string FormatSettings(const StoredSettings& s) {
  std::string text =
      "# Stakko's settings, written by the game (Alt+Enter, --save-settings).\n"
      "# The command line's options win over these for one start.\n";
  if (s.window) text += std::string("mode = ") + (*s.window ? "window" : "fullscreen") + "\n";
  if (s.width && s.height) text += "size = " + std::to_string(*s.width) + "x" + std::to_string(*s.height) + "\n";
  if (s.scale) text += std::string("scale = ") + (*s.scale == ScaleChoice::kInteger ? "integer" : "fill") + "\n";
  if (s.present) {
    const char* names[] = {"auto", "gpu", "cpu"};
    text += std::string("present = ") + names[static_cast<int>(*s.present)] + "\n";
  }
  if (s.fps) text += "fps = " + std::to_string(*s.fps) + "\n";
  if (s.sound) text += std::string("sound = ") + (*s.sound ? "on" : "off") + "\n";
  if (s.volume) text += "volume = " + std::to_string(*s.volume) + "\n";
  return text;
}

void ApplySettings(const StoredSettings& s, platform::SdlSettings& settings) {
  if (s.window) settings.window = *s.window;
  if (s.width && s.height) {
    settings.windowWidth = *s.width;
    settings.windowHeight = *s.height;
  }
  if (s.scale) settings.scale = *s.scale;
  if (s.present) settings.present = *s.present;
  if (s.fps) settings.fps = *s.fps;
  if (s.sound) settings.sound = *s.sound;
  if (s.volume) settings.volume = *s.volume;
}

StoredSettings SettingsOfRun(const platform::SdlSettings& settings) {
  StoredSettings s;
  s.window = settings.window;
  if (settings.windowWidth > 0 && settings.windowHeight > 0) {
    s.width = settings.windowWidth;
    s.height = settings.windowHeight;
  }
  s.scale = settings.scale;
  s.present = settings.present;
  s.fps = settings.fps;
  s.sound = settings.sound;
  s.volume = settings.volume;
  return s;
}
