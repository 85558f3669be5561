#include "platform/files.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

std::string HostPath(const std::string& gamePath) {
  std::string path = gamePath;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& gamePath,
                                                  uint64_t maxBytes) {
  std::FILE* f = std::fopen(HostPath(gamePath).c_str(), "rb");
  if (f == nullptr) return std::nullopt;
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  bool ok = true;
  for (;;) {
    size_t n = std::fread(chunk, 1, sizeof chunk, f);
    if (n > 0) {
      if (bytes.size() + n > maxBytes) {
        ok = false;
        break;
      }
      bytes.insert(bytes.end(), chunk, chunk + n);
    }
    if (n < sizeof chunk) {
      if (std::ferror(f)) ok = false;
      break;
    }
  }
  std::fclose(f);
  if (!ok) return std::nullopt;
  return bytes;
}

std::optional<std::vector<uint8_t>> ReadFileStart(const std::string& gamePath,
                                                  size_t maxBytes) {
  std::FILE* f = std::fopen(HostPath(gamePath).c_str(), "rb");
  if (f == nullptr) return std::nullopt;
  std::vector<uint8_t> bytes(maxBytes);
  size_t got = maxBytes == 0 ? 0 : std::fread(bytes.data(), 1, maxBytes, f);
  bool ok = !std::ferror(f);
  std::fclose(f);
  if (!ok) return std::nullopt;
  bytes.resize(got);
  return bytes;
}

int64_t FileSize(const std::string& gamePath) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path path(HostPath(gamePath));
  fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status)) return -1;
  if (fs::is_directory(status)) return -2;
  uintmax_t size = fs::file_size(path, ec);
  if (ec) return -1;
  return static_cast<int64_t>(size);
}

namespace {

bool WriteAndSync(const std::string& path, const std::vector<uint8_t>& bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = true;
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    done += static_cast<size_t>(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  return ok;
}

bool ReplaceWith(const std::string& temp, const std::string& path) {
  if (std::rename(temp.c_str(), path.c_str()) != 0) return false;
  // Make the rename itself durable. The new file is already complete, so a
  // folder that cannot be synced does not undo the save.
  size_t slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

void RemoveQuietly(const std::string& path) { ::unlink(path.c_str()); }

}  // namespace

bool WriteFileReplacing(const std::string& gamePath, const std::vector<uint8_t>& bytes) {
  std::string path = HostPath(gamePath);
  std::string temp = path + ".tmp";
  if (!WriteAndSync(temp, bytes) || !ReplaceWith(temp, path)) {
    RemoveQuietly(temp);
    return false;
  }
  return true;
}

}  // namespace platform
