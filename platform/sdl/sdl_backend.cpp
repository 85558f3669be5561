#include "platform/sdl/sdl_backend.h"

namespace platform {

void SdlBackend::CloseWindow() {
  if (!window_.IsOpen()) return;
  input_.ReleaseMouse();
  window_.Close();
}

void SdlBackend::StopVideo() {
  if (!window_.VideoStarted()) return;
  CloseWindow();
  window_.StopVideo();
}

bool SdlBackend::StartKeyboard() {
  input_.StartKeyboard();
  return true;
}

bool SdlBackend::ReadKeyboard(uint8_t snapshot[256]) {
  events_.PumpForRead();
  if (!window_.Active()) return false;
  input_.ReadKeyboard(snapshot);
  return true;
}

bool SdlBackend::StartMouse() {
  input_.StartMouse();
  return true;
}

bool SdlBackend::ReadMouse(MouseReading& out) {
  events_.PumpForRead();
  if (!window_.Active()) return false;
  input_.ReadMouse(window_.Handle(), out);
  return true;
}

}  // namespace platform
