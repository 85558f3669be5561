// The SDL2 backend: a fullscreen-desktop window showing the 640x480 back
// buffer scaled by whole factors with nearest-neighbour pixels, raw keyboard
// and relative mouse input, and an audio device fed by our mixer.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/sdl/sdl_factory.h"

namespace platform {

class SdlBackend : public Backend {
 public:
  SdlBackend();
  ~SdlBackend() override;

  int64_t NowMicros() override;
  uint32_t AutoSeed() override;

  bool StartVideo() override;
  bool OpenWindow(const std::string& title, int width, int height) override;
  void CloseWindow() override;
  void StopVideo() override;
  void PumpEvents() override;
  bool WindowActive() override { return window_ != nullptr && active_; }
  bool Present(const uint32_t* pixels, int width, int height) override;
  int ShowMessageBox(const std::string& title, const std::string& text, uint32_t flags) override;

  bool StartKeyboard() override;
  void StopKeyboard() override;
  bool ReadKeyboard(uint8_t snapshot[256]) override;
  char TranslateKey(int keyCode) override;

  bool StartMouse() override;
  void StopMouse() override;
  bool ReadMouse(MouseReading& out) override;
  void ReleaseMouse() override;

  bool StartAudio(AudioFormat& format, Mixer* mixer) override;
  void StopAudio() override;

  [[noreturn]] void EndProcess(int exitCode) override;

  // Measurements only; call before StartVideo.
  void SetPresentPath(SdlPresentPath path) { presentPath_ = path; }

 private:
  // Drains SDL's queue: focus, resizes, mouse motion and buttons.
  void HandleEvents();
  void HandleEvent(const SDL_Event& event);
  bool PresentToSurface(const uint32_t* pixels, int width, int height);
  bool PresentWithRenderer(const uint32_t* pixels, int width, int height);
  void SetWindowIcon();

  uint64_t counterOrigin_ = 0;
  uint64_t counterFrequency_ = 1;

  bool videoStarted_ = false;
  SDL_Window* window_ = nullptr;
  bool active_ = false;
  bool surfaceStale_ = true;
  SDL_Surface* surface_ = nullptr;
  bool useRenderer_ = false;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  SdlPresentPath presentPath_ = SdlPresentPath::kOwnScaler;
  bool surfaceNeedsFullUpdate_ = true;  // letterbox cleared and pushed once per surface

  // Input.
  bool keyboardStarted_ = false;
  bool mouseStarted_ = false;
  bool mouseCaptured_ = false;
  uint64_t lastPumpMicros_ = 0;
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
  // Key presses and typed text, called by HandleEvent for what it leaves.
  void HandleInputEvent(const SDL_Event& event);
  // Handles pending events unless that was done less than 1 ms ago.
  void PumpInputEvents();

  // Audio.
  SDL_AudioDeviceID audioDevice_ = 0;
  Mixer* mixer_ = nullptr;
  int audioChannels_ = 2;

  friend void SdlAudioCallback(void* userdata, Uint8* stream, int len);
};

}  // namespace platform
