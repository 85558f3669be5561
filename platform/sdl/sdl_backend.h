// The SDL2 backend: the game's seam to SDL, put together from one unit per
// job (window and presentation, the event dispatcher, keyboard and mouse,
// gamepads, the audio device, and the system's clock, seed, message box and
// exit), set up as the command line asked.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/backend.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_present.h"
#include "platform/sdl/sdl_settings.h"
#include "platform/sdl/sdl_system.h"
#include "platform/sdl/sdl_window.h"

namespace platform {

class SdlBackend : public Backend {
 public:
  explicit SdlBackend(const SdlSettings& settings = SdlSettings())
      : present_(settings),
        window_(settings, present_),
        events_(system_, window_, input_, pads_),
        sound_(settings.sound),
        volume_(settings.volume),
        windowWidth_(settings.windowWidth),
        windowHeight_(settings.windowHeight) {}

  // Called with true or false whenever Alt+Enter has made the window a
  // window or fullscreen, so the choice can be kept for the next start.
  void OnWindowModeChange(std::function<void(bool windowed)> listener) {
    events_.OnWindowModeChange(std::move(listener));
  }

  int64_t NowMicros() override { return system_.NowMicros(); }
  uint32_t AutoSeed() override { return system_.AutoSeed(); }

  bool StartVideo() override;
  bool OpenWindow(const std::string& title, int width, int height) override;
  void CloseWindow() override;
  void StopVideo() override;
  void PumpEvents() override {
    present_.BeginFrame();
    events_.Pump();
  }
  bool WindowActive() override { return window_.Active(); }
  bool Present(const uint32_t* pixels, int width, int height) override {
    return window_.IsOpen() && present_.Present(pixels, width, height);
  }
  int ShowMessageBox(const std::string& title, const std::string& text, uint32_t flags) override {
    return system_.ShowMessageBox(title, text, flags, window_.Handle());
  }

  bool StartKeyboard() override;
  void StopKeyboard() override;
  bool ReadKeyboard(uint8_t snapshot[256]) override;
  char TranslateKey(int keyCode) override { return input_.TranslateKey(keyCode); }

  bool StartMouse() override;
  void StopMouse() override { input_.StopMouse(); }
  bool ReadMouse(MouseReading& out) override;
  void ReleaseMouse() override {
    input_.ReleaseMouse();
    pads_.RestartPointer();
  }

  bool StartAudio(AudioFormat& format, Mixer* mixer) override;
  void StopAudio() override { audio_.Stop(); }

  [[noreturn]] void EndProcess(int exitCode) override { system_.EndProcess(exitCode); }

 private:
  // Before its reads: the wait of a screen that only reads the keyboard
  // takes its slots, and a window changed meanwhile gets its picture back.
  void PumpForRead();

  SdlSystem system_;
  SdlPresent present_;
  SdlWindow window_;
  SdlInput input_;
  SdlPads pads_;
  SdlEvents events_;
  SdlAudio audio_;
  bool sound_;
  int volume_;
  int windowWidth_;
  int windowHeight_;
};

}  // namespace platform
