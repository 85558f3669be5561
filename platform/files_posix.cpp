#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string HostPath(const std::string& gamePath) {
  std::string path = gamePath;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

namespace {

// An open file the game may read: a regular file, never a FIFO, device or
// socket, which could block forever or never end. The open itself does not
// wait (O_NONBLOCK), and the descriptor is closed with the reader.
class RegularFileReader {
 public:
  explicit RegularFileReader(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(fd);
      return;
    }
    size_ = static_cast<uint64_t>(st.st_size);
    fd_ = fd;
  }
  ~RegularFileReader() { Close(); }
  RegularFileReader(const RegularFileReader&) = delete;
  RegularFileReader& operator=(const RegularFileReader&) = delete;

  bool IsOpen() const {
    return fd_ >= 0;
  }

  // Size as the file system reports it when opened (a hint only: the file
  // may change while it is read).
  uint64_t SizeHint() const { return size_; }

  // Up to count bytes; 0 at the end of the file, -1 on an error.
  int64_t Read(uint8_t* into, size_t count) {
    for (;;) {
      ssize_t n = ::read(fd_, into, count);
      if (n < 0 && errno == EINTR) continue;
      return n;
    }
  }

 private:
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  int fd_ = -1;
  uint64_t size_ = 0;
};

// Reads until the end of the file or until limit bytes are in; nothing on
// an error, or (with refuseLonger) when the file holds more than limit bytes.
std::optional<std::vector<uint8_t>> ReadUpTo(const std::string& gamePath, uint64_t limit, bool refuseLonger) {
  RegularFileReader file(HostPath(gamePath));
  if (!file.IsOpen()) return std::nullopt;
  if (refuseLonger && file.SizeHint() > limit) return std::nullopt;
  std::vector<uint8_t> bytes;
  // Sized from what the file says; a file that grows meanwhile still reads.
  bytes.resize(static_cast<size_t>(std::min<uint64_t>(file.SizeHint(), limit)) + 1);
  size_t got = 0;
  for (;;) {
    if (got == bytes.size()) {
      if (got > limit) break;
      bytes.resize(static_cast<size_t>(std::min<uint64_t>(limit + 1, uint64_t{got} * 2 + 65536)));
    }
    int64_t n = file.Read(bytes.data() + got, bytes.size() - got);
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  if (got > limit) {
    if (refuseLonger) return std::nullopt;
    got = static_cast<size_t>(limit);
  }
  bytes.resize(got);
  return bytes;
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& gamePath,
                                                  uint64_t maxBytes) {
  return ReadUpTo(gamePath, maxBytes, true);
}

std::optional<std::vector<uint8_t>> ReadFileStart(const std::string& gamePath,
                                                  size_t maxBytes) {
  return ReadUpTo(gamePath, maxBytes, false);
}

FileKind ExamineFile(const std::string& gamePath, int64_t* size) {
  if (size != nullptr) *size = 0;
  std::string path = HostPath(gamePath);
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    // Only a name that is plainly not there is missing; anything else (no
    // permission, an I/O error, a loop of links) may hide a real file.
    return errno == ENOENT || errno == ENOTDIR ? FileKind::Missing : FileKind::Unknown;
  }
  if (S_ISDIR(st.st_mode)) return FileKind::Folder;
  if (!S_ISREG(st.st_mode)) return FileKind::Other;
  if (size != nullptr) *size = static_cast<int64_t>(st.st_size);
  return FileKind::Regular;
}

namespace {


bool WriteAndSync(const std::string& path, const std::vector<uint8_t>& bytes) {
  // A fresh file, made by us: a stale temporary file (or a link someone left
  // at its name) is removed first, and the create fails rather than follow
  // a link or reuse a file that appeared in between.
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) return false;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
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
