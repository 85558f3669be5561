#include "tests/test_support.h"

#include <atomic>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

#include "tools/sim/scenario.h"

#ifdef __linux__
#include <linux/capability.h>
#include <sys/syscall.h>
#endif

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

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  if (!path.parent_path().empty() && !fs::exists(path.parent_path())) fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

#ifdef __linux__
AsOrdinaryUser::AsOrdinaryUser() {
  static_assert(sizeof saved_ == sizeof(__user_cap_data_struct[2]));
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2];
  if (::syscall(SYS_capget, &header, data) != 0) return;
  std::memcpy(saved_, data, sizeof data);
  for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) data[cap / 32].effective &= ~(1u << (cap % 32));
  dropped_ = ::syscall(SYS_capset, &header, data) == 0;
}

AsOrdinaryUser::~AsOrdinaryUser() {
  if (!dropped_) return;
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2];
  std::memcpy(data, saved_, sizeof data);
  ::syscall(SYS_capset, &header, data);
}
#else
AsOrdinaryUser::AsOrdinaryUser() = default;
AsOrdinaryUser::~AsOrdinaryUser() = default;
#endif

SimRun RunSimWith(std::vector<std::string> args) {
  SimOptions options;
  std::string error;
  SimRun run;
  if (!ParseSimArgs(args, options, error)) {
    run.err = error;
    return run;
  }
  std::ostringstream out, err;
  run.status = RunSim(options, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}
