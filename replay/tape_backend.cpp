#include "replay/tape_backend.h"

#include <cstdio>

namespace replay {

void TapeBackend::Check(bool read) {
  if (read) return;
  if (reader_.AtEnd() && reader_.error().rfind("the tape ended", 0) == 0) throw TapeEnded{};
  throw ReplayAstray{"went astray at frame " + std::to_string(reader_.frames + 1) + ", before checkpoint " +
                     std::to_string(reader_.checkpoints + 1) + " (tape byte " + std::to_string(reader_.opOffset) +
                     "): " + reader_.error()};
}

void TapeBackend::CheckpointIfDue() {
  if (!reader_.NextIsCheckpoint()) return;
  int64_t frame = 0;
  uint64_t recorded = 0;
  Check(reader_.Checkpoint(frame, recorded));
  if (digest_ && digest_() != recorded) {
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016llx", static_cast<unsigned long long>(recorded));
    throw ReplayAstray{"went astray before checkpoint " + std::to_string(reader_.checkpoints) + " at frame " +
                       std::to_string(frame) + ": the game's state differs from the recorded one (" + digest +
                       ")"};
  }
}

int64_t TapeBackend::NowMicros() {
  if (!engaged_) return inner_.NowMicros();
  int64_t micros = 0;
  Check(reader_.Clock(micros));
  if (onClock) onClock(micros);
  return micros;
}

uint32_t TapeBackend::AutoSeed() {
  if (!engaged_) return inner_.AutoSeed();
  uint32_t seed = 0;
  Check(reader_.Seed(seed));
  return seed;
}

void TapeBackend::PumpEvents() {
  inner_.PumpEvents();
  if (engaged_ && onPump) onPump();
}

bool TapeBackend::WindowActive() {
  if (!engaged_) return inner_.WindowActive();
  bool active = false;
  Check(reader_.Active(active));
  return active;
}

bool TapeBackend::Present(const uint32_t* pixels, int width, int height) {
  if (!engaged_) return inner_.Present(pixels, width, height);
  // The tape is read first, so a replay's last frame is the recorded one.
  bool ok = false;
  Check(reader_.Present(ok));
  inner_.Present(pixels, width, height);
  CheckpointIfDue();
  return ok;
}

int TapeBackend::ShowMessageBox(const std::string& title, const std::string& text, uint32_t flags) {
  if (!engaged_) return inner_.ShowMessageBox(title, text, flags);
  int button = 0;
  Check(reader_.MessageBox(button));
  return button;
}

bool TapeBackend::ReadKeyboard(uint8_t snapshot[256]) {
  if (!engaged_) return inner_.ReadKeyboard(snapshot);
  bool ok = false;
  Check(reader_.Keys(ok, snapshot));
  // A game's recording ends once the screen after it waits for a key, with
  // its last check right after that read.
  CheckpointIfDue();
  return ok;
}

char TapeBackend::TranslateKey(int keyCode) {
  if (!engaged_) return inner_.TranslateKey(keyCode);
  char c = 0;
  Check(reader_.Char(c));
  return c;
}

bool TapeBackend::ReadMouse(platform::MouseReading& out) {
  if (!engaged_) return inner_.ReadMouse(out);
  bool ok = false;
  Check(reader_.Mouse(ok, out));
  return ok;
}

void TapeBackend::EndProcess(int exitCode) {
  if (engaged_) CheckpointIfDue();
  ForwardingBackend::EndProcess(exitCode);
}

void TapeBackend::Trace(const std::string& event) {
  inner_.Trace(event);
  if (engaged_) CheckpointIfDue();
}

}  // namespace replay
