// Keyboard and mouse over SDL, fed by the event dispatcher. Keys come out in
// the game's KeyCode numbering; the mouse is read as relative motion with
// SDL's relative mode, which also hides the system cursor.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/backend.h"

namespace platform {

class SdlInput {
 public:
  // Key presses, typed text, mouse motion, buttons and wheel.
  void HandleEvent(const SDL_Event& event);

  void StartKeyboard() { keyboardStarted_ = true; }
  void StopKeyboard() { keyboardStarted_ = false; }
  void ReadKeyboard(uint8_t snapshot[256]) const;
  char TranslateKey(int keyCode) const;

  void StartMouse() { mouseStarted_ = true; }
  void StopMouse();
  // window is the game's window, whose size gives the enlargement factor.
  void ReadMouse(SDL_Window* window, MouseReading& out);
  void ReleaseMouse();

 private:
  bool keyboardStarted_ = false;
  bool mouseStarted_ = false;
  bool mouseCaptured_ = false;
  int mouseDx_ = 0;
  int mouseDy_ = 0;
  int mouseWheel_ = 0;
  int fracDx_ = 0;
  int fracDy_ = 0;
  int mouseButtons_[3] = {};
  // The characters the system typed for each key, learned from the text
  // events that follow its presses, without and with Shift (0 = not seen).
  char typedPlain_[SDL_NUM_SCANCODES] = {};
  char typedShifted_[SDL_NUM_SCANCODES] = {};
  SDL_Scancode lastKeyDown_ = SDL_SCANCODE_UNKNOWN;
  Uint16 lastKeyMods_ = 0;
};

}  // namespace platform
