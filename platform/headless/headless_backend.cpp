#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <cstring>

#include "platform/keycodes.h"
#include "platform/mixer.h"
#include "platform/screen.h"

namespace platform {

namespace {

// A fixed US layout: the scenario runner must type the same on every machine.
struct KeyChars {
  char plain;
  char shifted;
};

KeyChars UsLayout(int key) {
  static const char* row1 = "1234567890-=";
  static const char* row1s = "!@#$%^&*()_+";
  static const char* row2 = "qwertyuiop[]";
  static const char* row3 = "asdfghjkl;'`";
  static const char* row3s = "ASDFGHJKL:\"~";
  static const char* row4 = "zxcvbnm,./";
  static const char* row4s = "ZXCVBNM<>?";
  if (key >= 2 && key <= 13) return {row1[key - 2], row1s[key - 2]};
  if (key >= 16 && key <= 25) return {row2[key - 16], static_cast<char>(row2[key - 16] - 32)};
  if (key == 26) return {'[', '{'};
  if (key == 27) return {']', '}'};
  if (key >= 30 && key <= 41) return {row3[key - 30], row3s[key - 30]};
  if (key == 43) return {'\\', '|'};
  if (key >= 44 && key <= 53) return {row4[key - 44], row4s[key - 44]};
  if (key == 57) return {' ', ' '};
  if (key == 55) return {'*', '*'};
  if (key == 74) return {'-', '-'};
  if (key == 78) return {'+', '+'};
  if (key == 181) return {'/', '/'};
  return {0, 0};
}

}  // namespace

HeadlessBackend::HeadlessBackend() = default;

void HeadlessBackend::AddEvent(const ScriptEvent& event) {
  auto pos = std::upper_bound(pending_.begin() + static_cast<std::ptrdiff_t>(nextEvent_), pending_.end(), event,
                              [](const ScriptEvent& l, const ScriptEvent& r) { return l.atMicros < r.atMicros; });
  pending_.insert(pos, event);
}

void HeadlessBackend::KeyAt(int64_t ms, int keyCode, bool down) {
  AddEvent({ms * 1000, ScriptEvent::Kind::Key, keyCode, 0, down});
}
void HeadlessBackend::MouseAt(int64_t ms, int dx, int dy) {
  AddEvent({ms * 1000, ScriptEvent::Kind::Mouse, dx, dy, false});
}
void HeadlessBackend::ButtonAt(int64_t ms, int button, bool down) {
  AddEvent({ms * 1000, ScriptEvent::Kind::Button, button, 0, down});
}
void HeadlessBackend::FocusAt(int64_t ms, bool gained) {
  AddEvent({ms * 1000, ScriptEvent::Kind::Focus, 0, 0, gained});
}

void HeadlessBackend::SetKey(int keyCode, bool down) {
  Apply({now, ScriptEvent::Kind::Key, keyCode, 0, down});
}
void HeadlessBackend::MoveMouse(int dx, int dy) { Apply({now, ScriptEvent::Kind::Mouse, dx, dy, false}); }
void HeadlessBackend::SetButton(int button, bool down) {
  Apply({now, ScriptEvent::Kind::Button, button, 0, down});
}
void HeadlessBackend::SetFocus(bool focused) { Apply({now, ScriptEvent::Kind::Focus, 0, 0, focused}); }

void HeadlessBackend::Apply(const ScriptEvent& e) {
  switch (e.kind) {
    case ScriptEvent::Kind::Key:
      if (e.a < 0 || e.a > 255) break;
      if (e.a == KeyCapsLock && e.on && keys_[KeyCapsLock] == 0) capsLock_ = !capsLock_;
      keys_[e.a] = e.on ? 0x80 : 0;
      break;
    case ScriptEvent::Kind::Mouse:
      mouseDx_ += e.a;
      mouseDy_ += e.b;
      break;
    case ScriptEvent::Kind::Button:
      if (e.a >= 1 && e.a <= 3) buttons_[e.a - 1] = e.on ? 1 : 0;
      break;
    case ScriptEvent::Kind::Focus:
      focused_ = e.on;
      break;
  }
}

void HeadlessBackend::ApplyDueEvents() {
  while (nextEvent_ < pending_.size() && pending_[nextEvent_].atMicros <= now) {
    Apply(pending_[nextEvent_]);
    ++nextEvent_;
  }
}

void HeadlessBackend::Advance(int64_t micros) {
  now += micros;
  if (stopAtMicros > 0 && now >= stopAtMicros) throw RunStopped{};
}

bool HeadlessBackend::StartVideo() {
  lifecycle.push_back("StartVideo");
  return !fail.screen;
}

bool HeadlessBackend::OpenWindow(const std::string&, int, int) {
  lifecycle.push_back("OpenWindow");
  if (fail.open) return false;
  windowOpen = true;
  return true;
}

void HeadlessBackend::CloseWindow() {
  lifecycle.push_back("CloseWindow");
  windowOpen = false;
}

void HeadlessBackend::PumpEvents() {
  ApplyDueEvents();
  Advance(frameStepMicros);
  ApplyDueEvents();
}

bool HeadlessBackend::Present(const uint32_t* pixels, int width, int height) {
  ++framesPresented;
  size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (captureLastFrame) lastFrame.assign(pixels, pixels + count);
  if (framesToKeep.count(framesPresented) != 0) {
    keptFrames[framesPresented].assign(pixels, pixels + count);
  }
  if (onPresent) onPresent(*this);
  if (stopAfterFrames > 0 && framesPresented >= stopAfterFrames) throw RunStopped{};
  return true;
}

uint32_t HeadlessBackend::LastFramePixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= kBackBufferWidth || y >= kBackBufferHeight) return 0;
  size_t at = static_cast<size_t>(y) * kBackBufferWidth + static_cast<size_t>(x);
  if (at >= lastFrame.size()) return 0;
  return PixelToColour(lastFrame[at]);
}

int HeadlessBackend::ShowMessageBox(const std::string& title, const std::string& text, uint32_t) {
  messageBoxes.push_back(title + "|" + text);
  return 1;  // OK
}

bool HeadlessBackend::ReadKeyboard(uint8_t snapshot[256]) {
  ++keyboardReads;
  Advance(pollStepMicros);
  ApplyDueEvents();
  if (!focused_) return false;
  std::memcpy(snapshot, keys_, sizeof keys_);
  return true;
}

char HeadlessBackend::TranslateKey(int keyCode) {
  KeyChars chars = UsLayout(keyCode);
  bool shift = keys_[KeyLeftShift] != 0 || keys_[KeyRightShift] != 0;
  bool letter = chars.plain >= 'a' && chars.plain <= 'z';
  bool upper = letter ? (shift != capsLock_) : shift;
  return upper ? chars.shifted : chars.plain;
}

bool HeadlessBackend::ReadMouse(MouseReading& out) {
  Advance(pollStepMicros);
  ApplyDueEvents();
  if (!focused_) return false;
  out.dx = mouseDx_;
  out.dy = mouseDy_;
  out.wheel = 0;
  for (int b = 0; b < 3; ++b) out.buttons[b] = buttons_[b];
  mouseDx_ = mouseDy_ = 0;
  return true;
}

bool HeadlessBackend::StartAudio(AudioFormat& format, Mixer* m) {
  lifecycle.push_back("StartAudio");
  if (fail.sound) return false;
  format = audioFormat;
  mixer = m;
  return true;
}

std::vector<int16_t> HeadlessBackend::RenderAudio(int frames) {
  int channels = mixer != nullptr ? mixer->Output().channels : audioFormat.channels;
  std::vector<int16_t> out(static_cast<size_t>(std::max(frames, 0)) * static_cast<size_t>(std::max(channels, 1)), 0);
  if (mixer != nullptr && frames > 0) mixer->Render(out.data(), frames);
  return out;
}

void HeadlessBackend::EndProcess(int code) {
  ended = true;
  exitCode = code;
  Trace("end code=" + std::to_string(code));
  throw ProgramEnded{code};
}

void HeadlessBackend::Trace(const std::string& event) {
  std::string line = "t=" + std::to_string(NowMs()) + " f=" + std::to_string(framesPresented) + " " + event;
  traceLines.push_back(line);
  if (traceSink) traceSink(line);
}

}  // namespace platform
