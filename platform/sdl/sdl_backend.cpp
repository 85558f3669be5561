#include "platform/sdl/sdl_backend.h"

namespace platform {

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
