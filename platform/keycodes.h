// Keys are named by their PC scan-code numbers (extended keys + 128).
#pragma once

enum KeyCode : int {
  KeyEscape = 1,
  KeyEnter = 28,
  KeyLeftShift = 42,
  KeyRightShift = 54,
  KeySpace = 57,
  KeyCapsLock = 58,
  KeyUp = 200,
  KeyLeft = 203,
  KeyRight = 205,
  KeyDown = 208,
};
