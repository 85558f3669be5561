#include "platform/sdl/message_box_windows.h"

#include <vector>

#include "platform/internal/wide_text.h"
#include "platform/internal/windows_api.h"

namespace platform {

namespace {

// The thread's windows the box sets aside while it is up: disabled so they
// take no input, and taken out of the topmost band so the box is not hidden
// behind a full-screen window.
struct SetAside {
  HWND foreground = nullptr;
  std::vector<HWND> disabled;
  std::vector<HWND> topmost;
};

BOOL CALLBACK SetAsideOne(HWND window, LPARAM context) {
  auto* aside = reinterpret_cast<SetAside*>(context);
  if (!IsWindowVisible(window)) return TRUE;
  if (window != aside->foreground && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    aside->disabled.push_back(window);
  }
  if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) {
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    aside->topmost.push_back(window);
  }
  return TRUE;
}

}  // namespace

int ShowWindowsMessageBox(const std::string& title, const std::string& text, uint32_t flags) {
  SetAside aside;
  HWND foreground = GetForegroundWindow();
  DWORD process = 0;
  if (foreground != nullptr) GetWindowThreadProcessId(foreground, &process);
  HWND owner = process == GetCurrentProcessId() ? foreground : nullptr;
  aside.foreground = foreground;
  EnumThreadWindows(GetCurrentThreadId(), SetAsideOne, reinterpret_cast<LPARAM>(&aside));

  int pressed = MessageBoxW(owner, WideText(text).c_str(), WideText(title).c_str(), flags);

  for (HWND window : aside.disabled) EnableWindow(window, TRUE);
  for (HWND window : aside.topmost) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return pressed;
}

}  // namespace platform
