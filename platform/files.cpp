// The part of the file service that is the same on every host; the rest is
// in files_posix.cpp and files_windows.cpp.
#include "platform/files.h"

namespace platform {

int64_t FileSize(const std::string& gamePath) {
  int64_t size = 0;
  switch (ExamineFile(gamePath, &size)) {
    case FileKind::Regular: return size;
    case FileKind::Folder: return -2;
    default: return -1;
  }
}

}  // namespace platform
