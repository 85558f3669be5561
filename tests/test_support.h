// Shared set-up for tests: a fresh headless backend and fresh global state
// for every test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "flow/globals.h"
#include "platform/headless/headless_backend.h"
#include "platform/internal/state_reset.h"

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ResetAllPlatformState();
    ClearGameGlobals();
    platform::SetBackend(&backend);
  }
  void TearDown() override {
    platform::ResetAllPlatformState();
    platform::SetBackend(nullptr);
  }

  platform::HeadlessBackend backend;
};

// A temporary folder that is the working directory for the test's lifetime.
class ScopedWorkDir {
 public:
  ScopedWorkDir();
  ~ScopedWorkDir();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::filesystem::path old_;
};

// The scenario runner run in-process with these command-line arguments.
struct SimRun {
  int status = -1;
  std::string out;
  std::string err;
};
SimRun RunSimWith(std::vector<std::string> args);

// Copies the generated "graphics" and "Sound" folders into dir.
void CopyRunAssets(const std::filesystem::path& dir);

// A file's bytes (none when it cannot be read), and a file replaced by
// bytes, its folder made first when missing.
std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// While alive, this process cannot override file permissions even as root
// (the capabilities that would are dropped from its effective set, and given
// back afterwards), so a test of an unreadable file or a read-only folder
// means the same for CI, which runs as root, as for a player.
class AsOrdinaryUser {
 public:
  AsOrdinaryUser();
  ~AsOrdinaryUser();
  AsOrdinaryUser(const AsOrdinaryUser&) = delete;
  AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

 private:
  bool dropped_ = false;
  unsigned saved_[6] = {};  // the kernel's two capability words, as read
};
