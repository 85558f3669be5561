// The settings file: its text read and written, and the file left alone
// when it is not ours to change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/settings_file.h"
#include "app/settings_text.h"
#include "tests/test_support.h"

namespace {

using platform::PresentChoice;
using platform::ScaleChoice;

std::string Text(const std::filesystem::path& path) {
  std::vector<uint8_t> bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(Settings, EveryChoiceReadAppliedAndWrittenBack) {
  StoredSettings stored;
  std::string error;
  ASSERT_TRUE(ParseSettings("# mine\r\n\n  mode = window\nsize=800x600\nscale = integer\npresent = cpu\n"
                            "fps = 60\nsound = off\nvolume = 35",
                            stored, error))
      << error;
  platform::SdlSettings run;
  ApplySettings(stored, run);
  EXPECT_TRUE(run.window);
  EXPECT_EQ(run.windowWidth, 800);
  EXPECT_EQ(run.windowHeight, 600);
  EXPECT_EQ(run.scale, ScaleChoice::kInteger);
  EXPECT_EQ(run.present, PresentChoice::kCpu);
  EXPECT_EQ(run.fps, 60);
  EXPECT_FALSE(run.sound);
  EXPECT_EQ(run.volume, 35);
  // What a run writes reads back as the same run.
  StoredSettings again;
  ASSERT_TRUE(ParseSettings(FormatSettings(SettingsOfRun(run)), again, error)) << error;
  platform::SdlSettings reread;
  ApplySettings(again, reread);
  EXPECT_EQ(FormatSettings(SettingsOfRun(reread)), FormatSettings(SettingsOfRun(run)));
  // Nothing named, nothing changed: the plain game.
  ASSERT_TRUE(ParseSettings("", again, error));
  platform::SdlSettings plain;
  ApplySettings(again, plain);
  EXPECT_EQ(FormatSettings(SettingsOfRun(plain)), FormatSettings(SettingsOfRun(platform::SdlSettings())));
}

TEST(Settings, AnythingNotUnderstoodRefusesTheWholeFile) {
  for (const char* text : {"volume = 101", "volume = -1", "fps = 1e3", "size = 800x", "size = 10x10",
                           "mode = windowed", "colour = red", "just words", "sound = on\nvolume = 5 0"}) {
    StoredSettings stored;
    std::string error;
    EXPECT_FALSE(ParseSettings(std::string("mode = window\n") + text, stored, error)) << text;
    EXPECT_FALSE(stored.window.has_value()) << text;  // not half applied
    EXPECT_EQ(error.rfind("line 2: ", 0) == 0 || error.rfind("line 3: ", 0) == 0, true) << error;
  }
}

TEST(Settings, FileKeptWholeAndAMalformedOneNeverRewritten) {
  ScopedWorkDir dir;
  const auto path = dir.path() / "config" / "stakko" / "settings.ini";
  // Missing: nothing applies; Alt+Enter's choice makes the folder and file.
  SettingsFile missing(path.string());
  missing.Load();
  EXPECT_FALSE(missing.Stored().window.has_value());
  missing.RememberWindowed(true);
  SettingsFile reread(path.string());
  reread.Load();
  EXPECT_EQ(reread.Stored().window, std::optional<bool>(true));
  EXPECT_FALSE(reread.Stored().volume.has_value());  // only what was chosen
  EXPECT_FALSE(std::filesystem::exists(path.string() + ".tmp"));

  // Malformed: ignored and left byte for byte, whatever Alt+Enter does;
  // an explicit save replaces it.
  const std::vector<uint8_t> odd = {'m', 'o', 'd', 'e', '=', '?', '\n', 0xff};
  WriteBytes(path, odd);
  SettingsFile malformed(path.string());
  malformed.Load();
  EXPECT_FALSE(malformed.Stored().window.has_value());
  malformed.RememberWindowed(false);
  EXPECT_EQ(ReadBytes(path), odd);
  StoredSettings loud;
  loud.volume = 80;
  ASSERT_TRUE(malformed.Save(loud));
  EXPECT_EQ(Text(path).find("volume = 80\n") != std::string::npos, true) << Text(path);

#ifndef _WIN32
  // Where it lives: an absolute XDG_CONFIG_HOME, else ~/.config.
  const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string keep = oldConfig != nullptr ? oldConfig : "";
  ::setenv("XDG_CONFIG_HOME", "/xdg", 1);
  EXPECT_EQ(SettingsPath(), "/xdg/stakko/settings.ini");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);
  const char* home = std::getenv("HOME");
  EXPECT_EQ(SettingsPath(), home != nullptr && *home != '\0' ? std::string(home) + "/.config/stakko/settings.ini" : "");
  if (oldConfig != nullptr) ::setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
  else ::unsetenv("XDG_CONFIG_HOME");
#endif
}
