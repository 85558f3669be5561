// The settings file: where it lives, reading it at start-up and writing it
// whole when the player's choices change.
#pragma once

#include <string>

#include "app/settings_text.h"

// $XDG_CONFIG_HOME/stakko/settings.ini (~/.config when that is unset or
// not absolute) on Linux; settings.ini in the working folder, the game's
// own, on Windows. Empty when there is no home to put it in.
std::string SettingsPath();

class SettingsFile {
 public:
  explicit SettingsFile(std::string path) : path_(std::move(path)) {}

  // A missing file holds nothing. One that cannot be read or is not
  // understood is said on the standard error and ignored, and nothing of
  // the game's own writes over it (only --save-settings, asked for).
  void Load();
  const StoredSettings& Stored() const { return stored_; }

  // Replaces the file whole (temporary file, then rename), creating its
  // folder; failures are said on the standard error.
  bool Save(const StoredSettings& stored);
  // Alt+Enter's choice, kept unless the file was left alone at Load.
  void RememberWindowed(bool windowed);

 private:
  std::string path_;
  StoredSettings stored_;
  bool leaveAlone_ = false;
};
