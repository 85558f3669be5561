// Keyboard and mouse over SDL, fed by the event dispatcher. Keys come out in
// the game's KeyCode numbering; the mouse is read as relative motion with
// SDL's relative mode, which also hides the system cursor, or, for pointers
// that only say where they are (tablets, remote desktops, a virtual
// machine's pointer), as the position under the pointer.
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
  void ReadKeyboard(uint8_t snapshot[256]);
  // SDL's key states may have changed (events were pumped): the next read
  // looks at them again. Until then it hands out the last snapshot, which
  // screens that read the keys sixty times a frame would otherwise rebuild
  // from every scancode each time.
  void KeysMayHaveChanged() { keysFresh_ = false; }
  // A key the platform itself answered (Alt+Enter): the game does not see
  // it until it has been let go.
  void HideUntilReleased(SDL_Scancode key);
  char TranslateKey(int keyCode) const;

  void StartMouse() { mouseStarted_ = true; }
  void StopMouse();
  // How the picture lies in the window, for the mouse's speed and for
  // positions: the picture's area in the window's pixels, and the window's
  // size in pixels and in points.
  struct PictureGeometry {
    int sourceW = 640, sourceH = 480;  // the game's picture
    int left = 0, top = 0, width = 640, height = 480;
    int pixelW = 640, pixelH = 480;
    int pointW = 640, pointH = 480;
  };
  void ReadMouse(SDL_Window* window, const PictureGeometry& geometry, MouseReading& out);
  void ReleaseMouse();

 private:
  bool keyboardStarted_ = false;
  bool mouseStarted_ = false;
  bool mouseCaptured_ = false;
  int mouseDx_ = 0;
  int mouseDy_ = 0;
  int mouseWheel_ = 0;
  int64_t fracDx_ = 0;
  int64_t fracDy_ = 0;
  // The pointer's place in the window at the last read; relative motion
  // seen since the mouse was taken over turns position reading off.
  bool pointerKnown_ = false;
  int pointerX_ = 0;
  int pointerY_ = 0;
  bool relativeSeen_ = false;
  Uint32 capturedAt_ = 0;
  bool hidden_[SDL_NUM_SCANCODES] = {};
  bool keysFresh_ = false;
  uint8_t lastKeys_[256] = {};
  int mouseButtons_[3] = {};
  // The characters the system typed for each key, learned from the text
  // events that follow its presses, without and with Shift (0 = not seen).
  char typedPlain_[SDL_NUM_SCANCODES] = {};
  char typedShifted_[SDL_NUM_SCANCODES] = {};
  SDL_Scancode lastKeyDown_ = SDL_SCANCODE_UNKNOWN;
  Uint16 lastKeyMods_ = 0;
};

}  // namespace platform
