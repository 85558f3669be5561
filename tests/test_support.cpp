#include "tests/test_support.h"

#include <atomic>
#include <unistd.h>

namespace fs = std::filesystem;

ScopedWorkDir::ScopedWorkDir() {
  static std::atomic<int> counter{0};
  old_ = fs::current_path();
  path_ = fs::temp_directory_path() /
          ("stakko-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
  fs::current_path(path_);
}

ScopedWorkDir::~ScopedWorkDir() {
  std::error_code ec;
  fs::current_path(old_, ec);
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

void CopyRunAssets(const fs::path& dir) {
  fs::path run = STAKKO_RUN_DIR;
  for (const char* sub : {"graphics", "Sound"}) {
    if (fs::exists(run / sub)) {
      fs::copy(run / sub, dir / sub, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
  }
}
