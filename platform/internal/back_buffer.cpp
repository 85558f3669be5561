#include "platform/internal/back_buffer.h"

#include <algorithm>
#include <vector>

#include "platform/backend.h"

namespace platform {

namespace {

// Kept for the whole process: the drawing code may always address it.
std::vector<uint32_t>& Pixels() {
  static std::vector<uint32_t> pixels(kBackBufferWidth * kBackBufferHeight, 0);
  return pixels;
}

struct ScreenState {
  bool open = false;
  int width = 0;
  int height = 0;
};
ScreenState screen;
void (*closeHook)() = nullptr;

DrawingSession session;
bool sessionOpen = false;
bool drawnSinceFlip = true;

}  // namespace

uint32_t* BackBufferPixels() {
  drawnSinceFlip = true;
  return Pixels().data();
}

const uint32_t* BackBufferForFlip() {
  drawnSinceFlip = false;
  return Pixels().data();
}

bool BackBufferUnchangedSinceFlip() { return !drawnSinceFlip; }
bool ScreenOpen() { return screen.open; }
bool ScreenActive() { return screen.open && CurrentBackend().WindowActive(); }
int ScreenWidth() { return screen.width; }
int ScreenHeight() { return screen.height; }

void SetScreenOpen(int width, int height) {
  screen = ScreenState{true, width, height};
  drawnSinceFlip = true;
  std::fill(Pixels().begin(), Pixels().end(), 0u);
}

void SetScreenClosed() { screen = ScreenState{}; }

void SetScreenCloseHook(void (*hook)()) { closeHook = hook; }

void RunScreenCloseHook() {
  if (closeHook != nullptr) closeHook();
}

bool OpenSession() {
  if (!screen.open || sessionOpen) return false;
  session = DrawingSession{};
  sessionOpen = true;
  return true;
}

void CloseSession() { sessionOpen = false; }

DrawingSession* CurrentSession() { return sessionOpen ? &session : nullptr; }

void ResetBackBufferState() {
  screen = ScreenState{};
  closeHook = nullptr;
  session = DrawingSession{};
  sessionOpen = false;
  drawnSinceFlip = true;
  std::fill(Pixels().begin(), Pixels().end(), 0u);
}

}  // namespace platform
