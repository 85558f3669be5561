// Keyboard snapshots with their two release latches, and the relative mouse
// clamped to the screen. The backend supplies raw key states and motion.
#include "platform/input.h"

#include <algorithm>
#include <cstring>

#include "platform/backend.h"
#include "platform/internal/back_buffer.h"
#include "platform/internal/state_reset.h"
#include "platform/internal/stop_signal.h"

namespace {

struct Keyboard {
  int state = 0;  // 0 not started, 1 needs acquiring, 2 last snapshot good
  uint8_t snapshot[256] = {};
  bool releaseLatch[256] = {};
  bool typedLatch[256] = {};
};
Keyboard keyboard;

struct MouseState {
  bool started = false;
  int x = 0;
  int y = 0;
  int dx = 0;
  int dy = 0;
  int wheel = 0;
  int buttons[4] = {};  // 1 left, 2 right, 3 middle
  int acquireState = 1;
  bool released = false;
};
MouseState mouse;

bool KeyHeld(int key) { return (keyboard.snapshot[key] & 0x80) != 0; }

// Keys whose character is the same on every layout: the numeric keypad
// types whatever Num Lock says, and Backspace is name entry's delete.
char FixedCharacter(int key) {
  switch (key) {
    case 14: return '\b';
    case 55: return '*';
    case 74: return '-';
    case 78: return '+';
    case 82: return '0';
    case 79: return '1';
    case 80: return '2';
    case 81: return '3';
    case 75: return '4';
    case 76: return '5';
    case 77: return '6';
    case 71: return '7';
    case 72: return '8';
    case 73: return '9';
    case 181: return '/';
    case 83: return '.';
    default: return 0;
  }
}

void ResetMouseForClosedScreen() {
  mouse.acquireState = 1;
  platform::CurrentBackend().ReleaseMouse();
  mouse.buttons[1] = mouse.buttons[2] = mouse.buttons[3] = 0;
  mouse.x = 0;
  mouse.y = 0;
}

}  // namespace

int StartKeyboard() {
  if (keyboard.state != 0) return 1;
  if (!platform::CurrentBackend().StartKeyboard()) return 0;
  keyboard = Keyboard{};
  keyboard.state = 1;
  return 1;
}

void StopKeyboard() {
  if (keyboard.state == 0) return;
  platform::CurrentBackend().StopKeyboard();
  keyboard = Keyboard{};
}

int ExamineKeys() {
  platform::EndIfStopRequested();
  if (keyboard.state == 0) return 0;
  if (keyboard.state == 1) keyboard.state = 2;
  uint8_t fresh[256];
  if (!platform::CurrentBackend().ReadKeyboard(fresh)) {
    // The old bytes stay, but every key reads up until a read succeeds.
    keyboard.state = 1;
    return 0;
  }
  std::memcpy(keyboard.snapshot, fresh, sizeof fresh);
  return 1;
}

int IsKeyDown(int keyCode) {
  if (keyboard.state != 2 || keyCode < 0 || keyCode > 255) return 0;
  return keyboard.snapshot[keyCode] & 0x80;
}

int WasKeyReleased(int keyCode) {
  if (keyboard.state != 2 || keyCode < 0 || keyCode > 255) return 0;
  if (KeyHeld(keyCode)) {
    keyboard.releaseLatch[keyCode] = true;
    return 0;
  }
  if (keyboard.releaseLatch[keyCode]) {
    keyboard.releaseLatch[keyCode] = false;
    return 1;
  }
  return 0;
}

// Characters come as keys are let go, one per key per call, in KeyCode
// order. Only printable ASCII is delivered (the game's fonts and its
// high-score file hold nothing else), plus Backspace's code 8, with which
// name entry deletes.
std::string TakeTypedText() {
  std::string text;
  if (keyboard.state != 2) return text;
  for (int key = 0; key <= 254; ++key) {
    if (KeyHeld(key)) {
      keyboard.typedLatch[key] = true;
      continue;
    }
    if (!keyboard.typedLatch[key]) continue;
    keyboard.typedLatch[key] = false;
    char c = FixedCharacter(key);
    if (c == 0) c = platform::CurrentBackend().TranslateKey(key);
    if (((c >= 32 && c <= 126) || c == '\b') && text.size() < 255) text.push_back(c);
  }
  return text;
}

int StartMouse() {
  if (mouse.started) return 1;
  if (!platform::CurrentBackend().StartMouse()) return 0;
  mouse = MouseState{};
  mouse.started = true;
  platform::SetScreenCloseHook(&ResetMouseForClosedScreen);
  return 1;
}

void StopMouse() {
  if (!mouse.started) return;
  platform::CurrentBackend().ReleaseMouse();
  platform::CurrentBackend().StopMouse();
  platform::SetScreenCloseHook(nullptr);
  mouse = MouseState{};
}

int PollMouse() {
  platform::EndIfStopRequested();
  mouse.dx = mouse.dy = mouse.wheel = 0;
  if (!mouse.started) return 0;
  platform::Backend& backend = platform::CurrentBackend();
  if (mouse.released || !platform::ScreenActive()) {
    backend.ReleaseMouse();
    mouse.acquireState = 1;
    return 0;
  }
  mouse.acquireState = 2;
  platform::MouseReading reading;
  if (!backend.ReadMouse(reading)) return 0;
  mouse.dx = reading.dx + (reading.hasPosition ? reading.x - mouse.x : 0);
  mouse.dy = reading.dy + (reading.hasPosition ? reading.y - mouse.y : 0);
  mouse.wheel = reading.wheel;
  for (int b = 0; b < 3; ++b) mouse.buttons[b + 1] = reading.buttons[b] ? 1 : 0;
  int maxX = std::max(platform::ScreenWidth() - 1, 0);
  int maxY = std::max(platform::ScreenHeight() - 1, 0);
  mouse.x = std::clamp(mouse.x + mouse.dx, 0, maxX);
  mouse.y = std::clamp(mouse.y + mouse.dy, 0, maxY);
  return 1;
}

int MousePosX() { return mouse.x; }
int MousePosY() { return mouse.y; }

int IsMouseButtonDown(int button) {
  if (button < 1 || button > 3) return 0;
  return mouse.buttons[button];
}

namespace platform {
InputCopy CopyInputState() {
  InputCopy c;
  c.keyboardState = keyboard.state;
  std::memcpy(c.snapshot, keyboard.snapshot, sizeof c.snapshot);
  std::memcpy(c.releaseLatch, keyboard.releaseLatch, sizeof c.releaseLatch);
  std::memcpy(c.typedLatch, keyboard.typedLatch, sizeof c.typedLatch);
  c.mouseX = mouse.x;
  c.mouseY = mouse.y;
  for (int b = 0; b < 4; ++b) c.buttons[b] = mouse.buttons[b];
  c.acquireState = mouse.acquireState;
  return c;
}

void RestoreInputState(const InputCopy& c) {
  if (keyboard.state != 0) keyboard.state = std::clamp(c.keyboardState, 1, 2);
  std::memcpy(keyboard.snapshot, c.snapshot, sizeof c.snapshot);
  std::memcpy(keyboard.releaseLatch, c.releaseLatch, sizeof c.releaseLatch);
  std::memcpy(keyboard.typedLatch, c.typedLatch, sizeof c.typedLatch);
  mouse.x = c.mouseX;
  mouse.y = c.mouseY;
  for (int b = 0; b < 4; ++b) mouse.buttons[b] = c.buttons[b] ? 1 : 0;
  mouse.acquireState = c.acquireState;
}

void ResetInputState() {
  keyboard = Keyboard{};
  mouse = MouseState{};
  SetScreenCloseHook(nullptr);
}
}  // namespace platform
