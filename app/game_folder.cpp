#include "app/game_folder.h"

#ifdef _WIN32
#include <cstdio>
#include <string>
#include <vector>

#include "platform/internal/windows_api.h"

bool EnterGameFolder() {
  // Long paths too: the buffer grows until the whole name fits.
  std::vector<wchar_t> name(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) break;
    if (length < name.size()) {
      std::wstring folder(name.data(), length);
      const size_t slash = folder.find_last_of(L"\\/");
      if (slash == std::wstring::npos) break;
      folder.resize(slash == 0 || folder[slash - 1] == L':' ? slash + 1 : slash);
      if (SetCurrentDirectoryW(folder.c_str())) return true;
      break;
    }
    name.resize(name.size() * 2);
  }
  std::fprintf(stderr, "stakko: cannot enter the folder of stakko.exe (error %lu)\n",
               static_cast<unsigned long>(GetLastError()));
  return false;
}
#else
bool EnterGameFolder() { return true; }
#endif
