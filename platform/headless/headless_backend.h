// A backend without display, sound card or real time, for tests and the
// scenario runner. Time is virtual: every FlipFrame advances it by a frame
// step, every keyboard or mouse read by a poll step, so the game's waits run
// their course deterministically. Input comes from a script of timed events;
// what the game shows and does is recorded.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/backend.h"

namespace platform {

// Thrown by EndProcess: the program ended, control returns to the harness.
struct ProgramEnded {
  int exitCode;
};
// Thrown when a stop condition of the harness is met.
struct RunStopped {};

struct ScriptEvent {
  enum class Kind { Key, Mouse, Button, Focus };
  int64_t atMicros = 0;
  Kind kind = Kind::Key;
  int a = 0;  // KeyCode, dx, or button number (1 left, 2 right, 3 middle)
  int b = 0;  // dy
  bool on = false;  // key or button down, focus gained
};

class HeadlessBackend : public Backend {
 public:
  struct Failures {
    bool keyboard = false;
    bool screen = false;
    bool mouse = false;
    bool sound = false;
    bool open = false;
  };

  HeadlessBackend();

  // --- Configuration -------------------------------------------------------
  int64_t frameStepMicros = 1000;
  int64_t pollStepMicros = 10;
  Failures fail;
  // Keep a copy of every presented frame's pixels in lastFrame.
  bool captureLastFrame = true;
  // Presented frame numbers (from 1) whose pixels are kept in keptFrames.
  std::set<int64_t> framesToKeep;
  // Stop conditions (0 = none): throw RunStopped.
  int64_t stopAfterFrames = 0;
  int64_t stopAtMicros = 0;
  // Called after every presented frame, before the stop test.
  std::function<void(HeadlessBackend&)> onPresent;
  // Receives every trace line, already prefixed with "t=<ms> f=<frames> ".
  std::function<void(const std::string&)> traceSink;

  // --- Input ---------------------------------------------------------------
  void AddEvent(const ScriptEvent& event);
  void KeyAt(int64_t ms, int keyCode, bool down);
  void MouseAt(int64_t ms, int dx, int dy);
  void ButtonAt(int64_t ms, int button, bool down);
  void FocusAt(int64_t ms, bool gained);
  // Immediate changes, for hooks that react to what is on screen.
  void SetKey(int keyCode, bool down);
  void MoveMouse(int dx, int dy);
  void SetButton(int button, bool down);
  void SetFocus(bool focused);

  // --- Records -------------------------------------------------------------
  int64_t now = 0;  // virtual microseconds
  int64_t framesPresented = 0;
  std::vector<uint32_t> lastFrame;  // 0x00RRGGBB, 640x480
  std::map<int64_t, std::vector<uint32_t>> keptFrames;
  std::vector<std::string> messageBoxes;  // "title|text"
  std::vector<std::string> traceLines;    // every trace line, prefixed
  bool windowOpen = false;
  // Starts and stops of the services, in the order they were asked for.
  std::vector<std::string> lifecycle;
  bool ended = false;
  int exitCode = -1;
  Mixer* mixer = nullptr;  // set while audio runs
  AudioFormat audioFormat;
  // Pulls the next frames of the mix, as the device would (frames * channels
  // samples); silence while no audio runs.
  std::vector<int16_t> RenderAudio(int frames);
  int keyboardReads = 0;

  int64_t NowMs() const { return now / 1000; }
  // Colour (0x00BBGGRR) of a pixel of the last presented frame.
  uint32_t LastFramePixel(int x, int y) const;

  // --- Backend -------------------------------------------------------------
  int64_t NowMicros() override { return now; }
  uint32_t AutoSeed() override { return 12345u; }
  bool StartVideo() override;
  bool OpenWindow(const std::string& title, int width, int height) override;
  void CloseWindow() override;
  void StopVideo() override { lifecycle.push_back("StopVideo"); }
  void PumpEvents() override;
  bool WindowActive() override { return windowOpen && focused_; }
  bool Present(const uint32_t* pixels, int width, int height) override;
  int ShowMessageBox(const std::string& title, const std::string& text, uint32_t flags) override;
  bool StartKeyboard() override {
    lifecycle.push_back("StartKeyboard");
    return !fail.keyboard;
  }
  void StopKeyboard() override { lifecycle.push_back("StopKeyboard"); }
  bool ReadKeyboard(uint8_t snapshot[256]) override;
  char TranslateKey(int keyCode) override;
  bool StartMouse() override {
    lifecycle.push_back("StartMouse");
    return !fail.mouse;
  }
  void StopMouse() override { lifecycle.push_back("StopMouse"); }
  bool ReadMouse(MouseReading& out) override;
  void ReleaseMouse() override {}
  bool StartAudio(AudioFormat& format, Mixer* mixer) override;
  void StopAudio() override {
    lifecycle.push_back("StopAudio");
    mixer = nullptr;
  }
  [[noreturn]] void EndProcess(int exitCode) override;
  void Trace(const std::string& event) override;

 private:
  void ApplyDueEvents();
  void Advance(int64_t micros);
  void Apply(const ScriptEvent& event);

  std::vector<ScriptEvent> pending_;  // sorted by time, stable
  size_t nextEvent_ = 0;
  bool focused_ = true;
  bool capsLock_ = false;
  uint8_t keys_[256] = {};
  int mouseDx_ = 0;
  int mouseDy_ = 0;
  int buttons_[3] = {};
};

}  // namespace platform
