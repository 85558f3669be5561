// The file service on Windows: wide-character Win32 calls, so a game folder
// anywhere (a user name with accents, say) works. The game's own names
// ("graphics\Jewels.bmp") are already native here.
//
// As on every host, only regular files are read or replaced: a name that is a
// link (symbolic link, junction or other reparse point) is not followed, and
// a folder or device is refused.
#include "platform/files.h"

#include <algorithm>
#include <cwchar>

#include "platform/internal/wide_text.h"
#include "platform/internal/windows_api.h"

namespace platform {

namespace {

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (valid()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }
  bool Close() {
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return CloseHandle(h) != 0;
  }

 private:
  HANDLE h_;
};

// Opens an existing regular file for reading, without following a link in
// its last name: FILE_FLAG_OPEN_REPARSE_POINT opens the link itself, which
// is then refused as not regular. Others may read and even replace the file
// meanwhile (FILE_SHARE_DELETE lets a concurrent save rename over it).
HANDLE OpenRegularForReading(const std::string& gamePath) {
  std::wstring path = WideText(HostPath(gamePath));
  if (path.empty()) return INVALID_HANDLE_VALUE;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return h;
  BY_HANDLE_FILE_INFORMATION info{};
  bool regular = GetFileType(h) == FILE_TYPE_DISK && GetFileInformationByHandle(h, &info) &&
                 (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
  if (!regular) {
    CloseHandle(h);
    return INVALID_HANDLE_VALUE;
  }
  return h;
}

// Reads until maxBytes are in or the file ends; false on a read error, or
// when refuseLonger and the file holds more than maxBytes.
bool ReadUpTo(HANDLE h, uint64_t maxBytes, bool refuseLonger, std::vector<uint8_t>& bytes) {
  uint8_t chunk[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(h, chunk, sizeof chunk, &got, nullptr)) return false;
    if (got == 0) return true;
    uint64_t room = maxBytes - bytes.size();
    if (got > room) {
      if (refuseLonger) return false;
      bytes.insert(bytes.end(), chunk, chunk + room);
      return true;
    }
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
}

bool WriteAll(HANDLE h, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

// Creates the temporary file under a fresh name of its own, beside the table
// so the rename stays on one disk. A name that is already there is never
// opened nor deleted: it may be a link someone planted, and deleting a link
// does not always leave its target alone (wine deletes the target). A name
// taken, by anything, just moves the save on to the next one.
HANDLE CreateTemporary(const std::wstring& path, std::wstring& temp) {
  static unsigned counter = 0;
  const unsigned long long stamp = GetTickCount64();
  for (int attempt = 0; attempt < 64; ++attempt) {
    wchar_t suffix[64];
    swprintf(suffix, sizeof suffix / sizeof suffix[0], L".%lx-%llx-%x.tmp", GetCurrentProcessId(), stamp,
             counter++);
    temp = path + suffix;
    HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h != INVALID_HANDLE_VALUE) return h;
    DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) break;
  }
  return INVALID_HANDLE_VALUE;
}

// Marks the file behind an open handle, one the save created itself, for
// deletion when the handle closes: nothing is deleted by name.
void DeleteOnClose(HANDLE h) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition);
}

}  // namespace

std::string HostPath(const std::string& gamePath) { return gamePath; }

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& gamePath, uint64_t maxBytes) {
  Handle file(OpenRegularForReading(gamePath));
  if (!file.valid()) return std::nullopt;
  std::vector<uint8_t> bytes;
  if (!ReadUpTo(file.get(), maxBytes, true, bytes)) return std::nullopt;
  return bytes;
}

std::optional<std::vector<uint8_t>> ReadFileStart(const std::string& gamePath, size_t maxBytes) {
  Handle file(OpenRegularForReading(gamePath));
  if (!file.valid()) return std::nullopt;
  std::vector<uint8_t> bytes;
  if (!ReadUpTo(file.get(), maxBytes, false, bytes)) return std::nullopt;
  return bytes;
}

FileKind ExamineFile(const std::string& gamePath, int64_t* size) {
  if (size != nullptr) *size = 0;
  std::wstring path = WideText(HostPath(gamePath));
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty()) return FileKind::Missing;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
    // Only a name that is plainly not there is missing; anything else (no
    // permission, a sharing violation, an I/O error) may hide a real file.
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileKind::Missing : FileKind::Unknown;
  }
  // A link is neither followed nor replaced: it counts as something else.
  if (data.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) return FileKind::Other;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return FileKind::Folder;
  if (size != nullptr) {
    *size = static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
  }
  return FileKind::Regular;
}

bool WriteFileReplacing(const std::string& gamePath, const std::vector<uint8_t>& bytes) {
  FileKind kind = ExamineFile(gamePath, nullptr);
  if (kind != FileKind::Missing && kind != FileKind::Regular) return false;
  std::wstring path = WideText(HostPath(gamePath));
  // A table the player marked read-only stays as it is.
  if (kind == FileKind::Regular && (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY)) return false;
  std::wstring temp;
  Handle file(CreateTemporary(path, temp));
  if (!file.valid()) return false;
  if (!WriteAll(file.get(), bytes) || FlushFileBuffers(file.get()) == 0) {
    DeleteOnClose(file.get());
    return false;
  }
  if (!file.Close()) return false;
  // MOVEFILE_WRITE_THROUGH returns only once the rename is on the disk.
  if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    // Our own file, still under its fresh name: reopened as itself (a link
    // put there since would be refused as not regular) and removed.
    Handle own(CreateFileW(temp.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (own.valid() && GetFileInformationByHandle(own.get(), &info) &&
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0) {
      DeleteOnClose(own.get());
    }
    return false;
  }
  return true;
}

}  // namespace platform
