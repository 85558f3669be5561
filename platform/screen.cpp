#include "platform/screen.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "platform/backend.h"
#include "platform/image.h"
#include "platform/internal/back_buffer.h"
#include "platform/internal/state_reset.h"
#include "platform/internal/stop_signal.h"
#include "platform/trace.h"

namespace {

struct ScreenSystem {
  bool started = false;      // StartScreenSystem has run
  bool startResult = false;  // and what it gave
};
ScreenSystem screen;

constexpr size_t kPixelCount = size_t{platform::kBackBufferWidth} * platform::kBackBufferHeight;

}  // namespace

int StartScreenSystem() {
  if (screen.started) return screen.startResult ? 1 : 0;
  screen.started = true;
  screen.startResult = platform::CurrentBackend().StartVideo();
  return screen.startResult ? 1 : 0;
}

int OpenGameScreen(int width, int height, int depth, const std::string& title, int syncMode) {
  (void)syncMode;  // presentation is always immediate: the game paces itself
  if (!screen.startResult || platform::ScreenOpen()) return 0;
  // The back buffer is the game's fixed 640x480 picture; 16 and 32 bits are
  // the depths a screen can be opened with.
  if (depth != 16 && depth != 32) return 0;
  if (width != platform::kBackBufferWidth || height != platform::kBackBufferHeight) return 0;
  if (!platform::CurrentBackend().OpenWindow(title, width, height)) {
    ReleaseAllSprites();
    return 0;
  }
  platform::SetScreenOpen(width, height);
  return 1;
}

void ClearBackBuffer(Colour colour) {
  // Every frame starts with this, so it matters: the C library's wide fill
  // uses the widest stores the machine has, about twice std::fill's speed.
#ifdef __EMSCRIPTEN__
  // Except in WebAssembly's C library, which stores one word at a time,
  // while its memcpy hands a big copy to the browser's own: one row is
  // filled, then the filled part is copied onto the rest, doubling.
  uint32_t* pixels = platform::BackBufferPixels();
  std::fill_n(pixels, platform::kBackBufferWidth, platform::ColourToPixel(colour));
  for (size_t done = platform::kBackBufferWidth; done < kPixelCount;) {
    const size_t count = std::min(done, kPixelCount - done);
    std::memcpy(pixels + done, pixels, count * sizeof(uint32_t));
    done += count;
  }
#else
  if constexpr (sizeof(wchar_t) == sizeof(uint32_t)) {
    std::wmemset(reinterpret_cast<wchar_t*>(platform::BackBufferPixels()),
                 static_cast<wchar_t>(platform::ColourToPixel(colour)), kPixelCount);
  } else {
    std::fill_n(platform::BackBufferPixels(), kPixelCount, platform::ColourToPixel(colour));
  }
#endif
}

int FlipFrame() {
  platform::Backend& backend = platform::CurrentBackend();
  backend.PumpEvents();
  platform::EndIfStopRequested();
  const uint32_t* picture = platform::BackBufferForFlip();
  if (!platform::ScreenActive()) return 1;
  backend.Present(picture, platform::ScreenWidth(), platform::ScreenHeight());
  return 1;
}

void CloseGameScreen() {
  if (!platform::ScreenOpen()) return;
  platform::RunScreenCloseHook();
  ReleaseAllSprites();
  platform::CurrentBackend().CloseWindow();
  platform::SetScreenClosed();
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

void ResetScreenState() {
  screen = ScreenSystem{};
  ResetBackBufferState();
}

}  // namespace platform
