// Keys are named by their PC scan-code numbers (extended keys + 128).
#pragma once

enum KeyCode : int {
  KeyEscape = 1,
  Key1 = 2,
  Key0 = 11,
  KeyBackspace = 14,
  KeyQ = 16,
  KeyW = 17,
  KeyE = 18,
  KeyR = 19,
  KeyT = 20,
  KeyI = 23,
  KeyO = 24,
  KeyEnter = 28,
  KeyA = 30,
  KeyZ = 44,
  KeyB = 48,
  KeyLeftShift = 42,
  KeyRightShift = 54,
  KeySpace = 57,
  KeyCapsLock = 58,
  KeyUp = 200,
  KeyLeft = 203,
  KeyRight = 205,
  KeyDown = 208,
};
