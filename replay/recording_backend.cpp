#include "replay/recording_backend.h"

#include <cstdio>

#include "platform/internal/state_reset.h"

namespace replay {

namespace {

// "state <from> <to>" as the game traces its screen changes.
bool StateChange(const std::string& event, int& from, int& to) {
  return std::sscanf(event.c_str(), "state %d %d", &from, &to) == 2;
}

constexpr int kGetReady = 5;
constexpr int kGameOver = 7;

}  // namespace

int64_t RecordingBackend::NowMicros() {
  const int64_t now = inner_.NowMicros();
  if (tape_) {
    // The game reads its clock in whole milliseconds from its origin, so
    // that is all the tape keeps: the same game, and a wait that only polls
    // the keyboard costs a byte or two per poll instead of a fresh number.
    const int64_t sinceOrigin = now - origin_;
    tape_->Clock(sinceOrigin >= 0 ? origin_ + sinceOrigin / 1000 * 1000 : now);
  }
  return now;
}

uint32_t RecordingBackend::AutoSeed() {
  const uint32_t seed = inner_.AutoSeed();
  if (tape_) tape_->Seed(seed);
  return seed;
}

bool RecordingBackend::WindowActive() {
  const bool active = inner_.WindowActive();
  if (tape_) tape_->Active(active);
  return active;
}

bool RecordingBackend::Present(const uint32_t* pixels, int width, int height) {
  const bool ok = inner_.Present(pixels, width, height);
  if (tape_) {
    tape_->Present(ok);
    if (tape_->frames % checkpointEvery == 0) tape_->Checkpoint(hooks_.digest());
    readsSincePicture_ = 0;
  }
  return ok;
}

int RecordingBackend::ShowMessageBox(const std::string& title, const std::string& text, uint32_t flags) {
  const int button = inner_.ShowMessageBox(title, text, flags);
  if (tape_) tape_->MessageBox(button);
  return button;
}

bool RecordingBackend::ReadKeyboard(uint8_t snapshot[256]) {
  const bool ok = inner_.ReadKeyboard(snapshot);
  if (tape_) {
    tape_->Keys(ok, snapshot);
    if (afterGame_ && ++readsSincePicture_ >= 2) Finish(true);
  }
  return ok;
}

char RecordingBackend::TranslateKey(int keyCode) {
  const char c = inner_.TranslateKey(keyCode);
  if (tape_) tape_->Char(c);
  return c;
}

bool RecordingBackend::ReadMouse(platform::MouseReading& out) {
  const bool ok = inner_.ReadMouse(out);
  if (tape_) tape_->Mouse(ok, out);
  return ok;
}

void RecordingBackend::EndProcess(int exitCode) {
  // Quitting or a stop signal in the middle of a game still keeps the game
  // so far; it says it did not run to its end.
  if (tape_) Finish(afterGame_);
  ForwardingBackend::EndProcess(exitCode);
}

void RecordingBackend::Trace(const std::string& event) {
  inner_.Trace(event);
  int from = 0, to = 0;
  if (!StateChange(event, from, to)) return;
  if (to == kGetReady && from != kGetReady) {
    Begin();
  } else if (tape_ && afterGame_) {
    Finish(true);
  } else if (from == kGameOver && tape_) {
    afterGame_ = true;
    readsSincePicture_ = 0;
  }
}

void RecordingBackend::Begin() {
  if (tape_) Finish(afterGame_);
  tape_ = std::make_unique<TapeWriter>();
  origin_ = platform::CopyTimingState().originMicros;
  start_ = hooks_.captureStart ? hooks_.captureStart() : std::vector<uint8_t>{};
}

void RecordingBackend::Finish(bool complete) {
  std::unique_ptr<TapeWriter> tape = std::move(tape_);
  afterGame_ = false;
  // The last state is always checked, wherever the checkpoints fell.
  if (tape->frames % checkpointEvery != 0) tape->Checkpoint(hooks_.digest());
  ReplayFile file;
  file.gameVersion = ThisGameVersion();
  file.platform = ThisPlatform();
  file.frames = tape->frames;
  file.playMs = (tape->lastClock - tape->firstClock) / 1000;
  file.complete = complete;
  if (hooks_.claim) hooks_.claim(file);
  file.start = std::move(start_);
  file.tape = std::move(tape->bytes());
  if (hooks_.finished) hooks_.finished(file);
}

}  // namespace replay
