// Files named the game's way ("graphics\Jewels.bmp"), relative to the
// working directory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// "graphics\Jewels.bmp" -> "graphics/Jewels.bmp" on hosts that use '/'.
std::string HostPath(const std::string& gamePath);

// Only regular files are read: a FIFO, a device or a socket reads as a file
// that cannot be opened, so nothing the player leaves at a name can block
// the game.

// The whole file, or nothing when it cannot be opened or read. Files larger
// than maxBytes are refused.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& gamePath,
                                                  uint64_t maxBytes);

// The first maxBytes bytes of a file (all of a shorter one), or nothing when
// it cannot be opened or read.
std::optional<std::vector<uint8_t>> ReadFileStart(const std::string& gamePath,
                                                  size_t maxBytes);

enum class FileKind {
  Missing,  // nothing of that name
  Regular,
  Folder,
  Other,    // a FIFO, device or socket
  Unknown,  // it cannot be examined (no permission, an I/O error)
};
// What is at the name; a regular file's size goes to *size when given.
FileKind ExamineFile(const std::string& gamePath, int64_t* size);

// Size in bytes; -1 when nothing of that name exists (or it cannot be
// examined, or is no regular file), -2 when the name is a folder.
int64_t FileSize(const std::string& gamePath);

// Replaces the file's contents with bytes without ever leaving a missing or
// half-written file behind: the bytes go to "<name>.tmp" in the same folder,
// are flushed and synced, and that file is then renamed over the old one.
// The temporary file is always created anew, never through a link. On
// any failure the temporary file is removed, the old file is left exactly as
// it was, and the result is false. Folders are never created.
bool WriteFileReplacing(const std::string& gamePath, const std::vector<uint8_t>& bytes);

}  // namespace platform
