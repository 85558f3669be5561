// Records a game as it is played: a backend that wraps the real one, passes
// every call through, and while a game runs (from the get-ready slide until
// the table after it has slid in) writes every answer the game receives to
// a tape. What the game does is seen only through its trace events, so the
// game itself knows nothing of the recording.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "replay/forwarding_backend.h"
#include "replay/replay_file.h"
#include "replay/tape.h"

namespace replay {

struct RecorderHooks {
  // The game's state as the get-ready slide begins.
  std::function<std::vector<uint8_t>()> captureStart;
  // A digest of the game's state, for the checkpoints.
  std::function<uint64_t()> digest;
  // Fills the claimed result (score, level, stones, name, date).
  std::function<void(ReplayFile&)> claim;
  // Receives the finished replay. Must not throw; a failure is its own.
  std::function<void(const ReplayFile&)> finished;
};

class RecordingBackend : public ForwardingBackend {
 public:
  RecordingBackend(platform::Backend& inner, RecorderHooks hooks)
      : ForwardingBackend(inner), hooks_(std::move(hooks)) {}

  // Presented frames between two checkpoints.
  int64_t checkpointEvery = 500;
  bool Recording() const { return tape_ != nullptr; }
  // The game's tape so far (empty between games), for measuring.
  std::vector<uint8_t> TapeSoFar() const { return tape_ ? tape_->bytes() : std::vector<uint8_t>{}; }

  int64_t NowMicros() override;
  uint32_t AutoSeed() override;
  bool WindowActive() override;
  bool Present(const uint32_t* pixels, int width, int height) override;
  int ShowMessageBox(const std::string& title, const std::string& text, uint32_t flags) override;
  bool ReadKeyboard(uint8_t snapshot[256]) override;
  char TranslateKey(int keyCode) override;
  bool ReadMouse(platform::MouseReading& out) override;
  [[noreturn]] void EndProcess(int exitCode) override;
  void Trace(const std::string& event) override;

 private:
  void Begin();
  void Finish(bool complete);

  RecorderHooks hooks_;
  std::unique_ptr<TapeWriter> tape_;
  // The game is over; the recording goes on until the screen after it has
  // drawn its picture and waits (a second key read with no picture since),
  // or until another screen comes, so a replay ends on the table the
  // player saw.
  bool afterGame_ = false;
  int readsSincePicture_ = 0;
  std::vector<uint8_t> start_;
  int64_t origin_ = 0;  // the game clock's origin, in backend microseconds
};

}  // namespace replay
