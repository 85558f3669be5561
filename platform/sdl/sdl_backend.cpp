#include "platform/sdl/sdl_backend.h"

#include <cstdio>

#include "platform/mixer.h"
#include "platform/sound.h"

namespace platform {

namespace {

// The game's own message names no cause; the standard error says which
// service failed and why, for the player and for bug reports.
void SayStartFailure(const char* service, const char* hint) {
  std::fprintf(stderr, "stakko: the %s could not start: %s%s\n", service, SDL_GetError(), hint);
}

}  // namespace

bool SdlBackend::StartVideo() {
  if (window_.StartVideo()) return true;
  SayStartFailure("screen", "");
  return false;
}

bool SdlBackend::OpenWindow(const std::string& title, int width, int height) {
  if (!window_.Open(title, width, height)) {
    SayStartFailure("screen's window", "");
    return false;
  }
  // A size the player chose for the window; the window follows the resize
  // as it follows one by the window manager.
  if (windowWidth_ > 0 && windowHeight_ > 0 && !window_.Fullscreen()) {
    SDL_SetWindowSize(window_.Handle(), windowWidth_, windowHeight_);
  }
  return true;
}

bool SdlBackend::StartAudio(AudioFormat& format, Mixer* mixer) {
  mixer->SetMasterGain(Mixer::GainForAttenuation(VolumeToAttenuation(volume_)));
  // Without sound nothing pulls the mix: every sound is accepted and
  // never heard.
  if (!sound_) return true;
  if (audio_.Start(format, mixer)) return true;
  SayStartFailure("sound service", " (start with --no-sound to play silently)");
  return false;
}

void SdlBackend::CloseWindow() {
  if (!window_.IsOpen()) return;
  input_.ReleaseMouse();
  pads_.RestartPointer();
  window_.Close();
}

void SdlBackend::StopVideo() {
  if (!window_.VideoStarted()) return;
  CloseWindow();
  window_.StopVideo();
}

void SdlBackend::PumpForRead() {
  present_.BeginRead();
  events_.PumpForRead();
  present_.ShowAgainIfOwed(window_.Active());
}

bool SdlBackend::StartKeyboard() {
  input_.StartKeyboard();
  // Pads play along with the keyboard; without them the keyboard still does.
  pads_.Start();
  return true;
}

void SdlBackend::StopKeyboard() {
  pads_.Stop();
  input_.StopKeyboard();
}

bool SdlBackend::ReadKeyboard(uint8_t snapshot[256]) {
  PumpForRead();
  if (!window_.Active()) return false;
  input_.ReadKeyboard(snapshot);
  pads_.AddHeldKeys(snapshot);
  return true;
}

bool SdlBackend::StartMouse() {
  input_.StartMouse();
  return true;
}

bool SdlBackend::ReadMouse(MouseReading& out) {
  PumpForRead();
  if (!window_.Active()) return false;
  input_.ReadMouse(window_.Handle(), window_.CurrentGeometry(), out);
  pads_.AddToMouse(out, system_.NowMicros());
  return true;
}

}  // namespace platform
