// The narrow seam between the platform services and the system underneath.
// The services (screen, images, input, sound, timing) are portable code; a
// backend only moves finished pixels to a window, reads raw input, runs the
// audio device and tells the time. There are two: SDL2 for real play and a
// headless one for tests and the scenario runner.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

class Mixer;

struct MouseReading {
  int dx = 0;
  int dy = 0;
  int wheel = 0;
  int buttons[3] = {0, 0, 0};  // left, right, middle: 1 down, 0 up
  // A pointer that only tells where it is (a tablet, a remote desktop):
  // the game's cursor goes to (x, y) of the picture, then moves by dx, dy.
  bool hasPosition = false;
  int x = 0;
  int y = 0;
};

struct AudioFormat {
  int rate = 44100;
  int channels = 2;
};

class Backend {
 public:
  virtual ~Backend() = default;

  // Clock: microseconds from an arbitrary origin, never decreasing.
  virtual int64_t NowMicros() = 0;
  // A value that differs from run to run, for the generator's own seed.
  virtual uint32_t AutoSeed() = 0;

  // Video. Pixels handed to Present are 0x00RRGGBB, width * height of them.
  virtual bool StartVideo() = 0;
  virtual bool OpenWindow(const std::string& title, int width, int height) = 0;
  virtual void CloseWindow() = 0;
  virtual void StopVideo() = 0;
  // Handles pending window and input events; called once per FlipFrame.
  virtual void PumpEvents() = 0;
  // True while the window has the focus and frames may be shown.
  virtual bool WindowActive() = 0;
  virtual bool Present(const uint32_t* pixels, int width, int height) = 0;
  // Blocks until dismissed; returns the button pressed (1 is OK).
  virtual int ShowMessageBox(const std::string& title, const std::string& text,
                             uint32_t flags) = 0;

  // Keyboard, in the game's KeyCode numbering (platform/keycodes.h).
  virtual bool StartKeyboard() = 0;
  virtual void StopKeyboard() = 0;
  // Fills 256 bytes, 0x80 for a key held. Returns false when no snapshot
  // can be had (the window is not focused).
  virtual bool ReadKeyboard(uint8_t snapshot[256]) = 0;
  // The printable ASCII character the player's layout gives for the key with
  // the modifiers now held, or 0.
  virtual char TranslateKey(int keyCode) = 0;

  // Mouse: relative motion since the last read (or a position), and the
  // buttons.
  virtual bool StartMouse() = 0;
  virtual void StopMouse() = 0;
  // Returns false when the mouse cannot be read now (no focus).
  virtual bool ReadMouse(MouseReading& out) = 0;
  // Hands the pointer back to the desktop (screen closed, focus lost).
  virtual void ReleaseMouse() = 0;

  // Audio: the backend opens a device and pulls samples from the mixer.
  virtual bool StartAudio(AudioFormat& format, Mixer* mixer) = 0;
  virtual void StopAudio() = 0;

  // Ends the process (the headless backend unwinds to its harness instead).
  [[noreturn]] virtual void EndProcess(int exitCode) = 0;

  // One machine-readable event line of what the game did; only the headless
  // backend records these.
  virtual void Trace(const std::string& /*event*/) {}
};

// The backend in use. The game's executable installs the SDL one, tests and
// the scenario runner the headless one, before anything else runs.
Backend& CurrentBackend();
void SetBackend(Backend* backend);
bool HasBackend();

}  // namespace platform
