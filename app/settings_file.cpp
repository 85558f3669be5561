#include "app/settings_file.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/files.h"

namespace {

// Far more than any settings file; a bigger one is not ours.
constexpr uint64_t kMaxSettingsBytes = 64 * 1024;

}  // namespace

std::string SettingsPath() {
#ifdef _WIN32
  return "settings.ini";
#else
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string(config) + "/stakko/settings.ini";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return "";
  return std::string(home) + "/.config/stakko/settings.ini";
#endif
}

void SettingsFile::Load() {
  if (path_.empty()) return;
  const platform::FileKind kind = platform::ExamineFile(path_, nullptr);
  if (kind == platform::FileKind::Missing) return;
  leaveAlone_ = true;
  auto bytes = kind == platform::FileKind::Regular ? platform::ReadWholeFile(path_, kMaxSettingsBytes)
                                                    : std::nullopt;
  if (!bytes) {
    std::fprintf(stderr, "stakko: %s cannot be read; its settings are ignored\n", path_.c_str());
    return;
  }
  std::string error;
  if (!ParseSettings(std::string(bytes->begin(), bytes->end()), stored_, error)) {
    std::fprintf(stderr, "stakko: %s, %s; its settings are ignored\n", path_.c_str(), error.c_str());
    return;
  }
  leaveAlone_ = false;
}

bool SettingsFile::Save(const StoredSettings& stored) {
  if (path_.empty()) {
    std::fputs("stakko: no HOME to keep settings in\n", stderr);
    return false;
  }
  std::error_code ignored;
  const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  const std::string text = FormatSettings(stored);
  if (!platform::WriteFileReplacing(path_, std::vector<uint8_t>(text.begin(), text.end()))) {
    std::fprintf(stderr, "stakko: the settings could not be written to %s\n", path_.c_str());
    return false;
  }
  stored_ = stored;
  leaveAlone_ = false;
  return true;
}

void SettingsFile::RememberWindowed(bool windowed) {
  if (leaveAlone_ || path_.empty()) return;
  StoredSettings changed = stored_;
  changed.window = windowed;
  Save(changed);
}
