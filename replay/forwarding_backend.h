// A backend around another that passes every call through: the recorder
// and the tape player build on it and take over only the calls whose
// answers they keep or give.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/backend.h"

namespace replay {

class ForwardingBackend : public platform::Backend {
 public:
  explicit ForwardingBackend(platform::Backend& inner) : inner_(inner) {}

  int64_t NowMicros() override { return inner_.NowMicros(); }
  uint32_t AutoSeed() override { return inner_.AutoSeed(); }
  bool StartVideo() override { return inner_.StartVideo(); }
  bool OpenWindow(const std::string& title, int width, int height) override {
    return inner_.OpenWindow(title, width, height);
  }
  void CloseWindow() override { inner_.CloseWindow(); }
  void StopVideo() override { inner_.StopVideo(); }
  void PumpEvents() override { inner_.PumpEvents(); }
  bool WindowActive() override { return inner_.WindowActive(); }
  bool Present(const uint32_t* pixels, int width, int height) override {
    return inner_.Present(pixels, width, height);
  }
  int ShowMessageBox(const std::string& title, const std::string& text, uint32_t flags) override {
    return inner_.ShowMessageBox(title, text, flags);
  }
  bool StartKeyboard() override { return inner_.StartKeyboard(); }
  void StopKeyboard() override { inner_.StopKeyboard(); }
  bool ReadKeyboard(uint8_t snapshot[256]) override { return inner_.ReadKeyboard(snapshot); }
  char TranslateKey(int keyCode) override { return inner_.TranslateKey(keyCode); }
  bool StartMouse() override { return inner_.StartMouse(); }
  void StopMouse() override { inner_.StopMouse(); }
  bool ReadMouse(platform::MouseReading& out) override { return inner_.ReadMouse(out); }
  void ReleaseMouse() override { inner_.ReleaseMouse(); }
  bool StartAudio(platform::AudioFormat& format, platform::Mixer* mixer) override {
    return inner_.StartAudio(format, mixer);
  }
  void StopAudio() override { inner_.StopAudio(); }
  [[noreturn]] void EndProcess(int exitCode) override {
    inner_.EndProcess(exitCode);
    std::abort();  // a backend that returned from ending the process
  }
  void Trace(const std::string& event) override { inner_.Trace(event); }

 protected:
  platform::Backend& inner_;
};

}  // namespace replay
