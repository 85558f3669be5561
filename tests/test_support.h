// Shared set-up for tests: a fresh headless backend and fresh global state
// for every test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

// Copies the generated "graphics" and "Sound" folders into dir.
void CopyRunAssets(const std::filesystem::path& dir);
