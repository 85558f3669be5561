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

// The whole file, or nothing when it cannot be opened or read. Files larger
// than maxBytes are refused.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& gamePath,
                                                  uint64_t maxBytes);

// The first maxBytes bytes of a file (all of a shorter one), or nothing when
// it cannot be opened or read.
std::optional<std::vector<uint8_t>> ReadFileStart(const std::string& gamePath,
                                                  size_t maxBytes);

// Size in bytes; -1 when nothing of that name exists (or it cannot be
// examined), -2 when the name is a folder.
int64_t FileSize(const std::string& gamePath);

// Replaces the file's contents with bytes without ever leaving a missing or
// half-written file behind: the bytes go to "<name>.tmp" in the same folder,
// are flushed and synced, and that file is then renamed over the old one. On
// any failure the temporary file is removed, the old file is left exactly as
// it was, and the result is false. Folders are never created.
bool WriteFileReplacing(const std::string& gamePath, const std::vector<uint8_t>& bytes);

}  // namespace platform
