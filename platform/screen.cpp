#include "platform/screen.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "platform/backend.h"
#include "platform/image.h"
#include "platform/process.h"
#include "platform/trace.h"

namespace {

struct GameScreen {
  bool started = false;      // StartScreenSystem has run
  bool startResult = false;  // and what it gave
  bool ScreenOpen = false;
  int width = 0;
  int height = 0;
  int depth = 0;
};
GameScreen screen;

// Kept for the whole process: the drawing code may always address it.
std::vector<uint32_t>& BackBuffer() {
  static std::vector<uint32_t> pixels(platform::kBackBufferWidth * platform::kBackBufferHeight, 0);
  return pixels;
}

void (*screenCloseHook)() = nullptr;

}  // namespace

int StartScreenSystem() {
  if (screen.started) return screen.startResult ? 1 : 0;
  screen.started = true;
  screen.startResult = platform::CurrentBackend().StartVideo();
  return screen.startResult ? 1 : 0;
}

int OpenGameScreen(int width, int height, int depth, const std::string& title, int syncMode) {
  (void)syncMode;  // presentation is always immediate: the game paces itself
  if (!screen.startResult || screen.ScreenOpen) return 0;
  // The back buffer is the game's fixed 640x480 picture; 16 and 32 bits are
  // the depths a screen can be opened with.
  if (depth != 16 && depth != 32) return 0;
  if (width != platform::kBackBufferWidth || height != platform::kBackBufferHeight) return 0;
  if (!platform::CurrentBackend().OpenWindow(title, width, height)) {
    ReleaseAllSprites();
    return 0;
  }
  screen.width = width;
  screen.height = height;
  screen.depth = depth;
  std::fill(BackBuffer().begin(), BackBuffer().end(), 0u);
  screen.ScreenOpen = true;
  return 1;
}

void ClearBackBuffer(Colour colour) {
  // Every frame starts with this, so it matters: the C library's wide fill
  // uses the widest stores the machine has, about twice std::fill's speed.
  if constexpr (sizeof(wchar_t) == sizeof(uint32_t)) {
    std::wmemset(reinterpret_cast<wchar_t*>(BackBuffer().data()),
                 static_cast<wchar_t>(platform::ColourToPixel(colour)), BackBuffer().size());
  } else {
    std::fill(BackBuffer().begin(), BackBuffer().end(), platform::ColourToPixel(colour));
  }
}

int FlipFrame() {
  platform::Backend& backend = platform::CurrentBackend();
  backend.PumpEvents();
  platform::EndIfStopRequested();
  if (!platform::ScreenActive()) return 1;
  backend.Present(BackBuffer().data(), screen.width, screen.height);
  return 1;
}

void CloseGameScreen() {
  if (!screen.ScreenOpen) return;
  if (screenCloseHook != nullptr) screenCloseHook();
  ReleaseAllSprites();
  platform::CurrentBackend().CloseWindow();
  screen.width = 0;
  screen.height = 0;
  screen.depth = 0;
  screen.ScreenOpen = false;
}

void StopScreenSystem() {
  if (!screen.started) return;
  if (screen.startResult) {
    CloseGameScreen();
    platform::CurrentBackend().StopVideo();
  }
  screen.started = false;
  screen.startResult = false;
}

int ShowMessageBox(const std::string& title, const std::string& text, uint32_t flags) {
  TraceEvent("msgbox \"" + title + "\" \"" + text + "\"");
  platform::SetBlockingWait(true);
  int pressed = platform::CurrentBackend().ShowMessageBox(title, text, flags);
  platform::SetBlockingWait(false);
  return pressed;
}

namespace platform {

uint32_t* BackBufferPixels() { return BackBuffer().data(); }
bool ScreenOpen() { return screen.ScreenOpen; }
bool ScreenActive() { return screen.ScreenOpen && CurrentBackend().WindowActive(); }
int ScreenWidth() { return screen.width; }
int ScreenHeight() { return screen.height; }
void SetScreenCloseHook(void (*hook)()) { screenCloseHook = hook; }

void ResetScreenState() {
  screen = GameScreen{};
  std::fill(BackBuffer().begin(), BackBuffer().end(), 0u);
}

}  // namespace platform
