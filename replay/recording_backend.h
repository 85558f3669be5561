// Records a game as it is played: a backend that wraps the real one, passes
// every call through, and while a game runs (from the get-ready slide until
// the game-over screens are left) writes every answer the game receives to
// a tape. What the game does is seen only through its trace events, so the
// game itself knows nothing of the recording.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
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

class RecordingBackend : public platform::Backend {
 public:
  RecordingBackend(platform::Backend& inner, RecorderHooks hooks) : inner_(inner), hooks_(std::move(hooks)) {}

  // Presented frames between two checkpoints.
  int64_t checkpointEvery = 500;
  bool Recording() const { return tape_ != nullptr; }
  // The game's tape so far (empty between games), for measuring.
  std::vector<uint8_t> TapeSoFar() const { return tape_ ? tape_->bytes() : std::vector<uint8_t>{}; }

  int64_t NowMicros() override;
  uint32_t AutoSeed() override;
  bool StartVideo() override { return inner_.StartVideo(); }
  bool OpenWindow(const std::string& title, int width, int height) override {
    return inner_.OpenWindow(title, width, height);
  }
  void CloseWindow() override { inner_.CloseWindow(); }
  void StopVideo() override { inner_.StopVideo(); }
  void PumpEvents() override { inner_.PumpEvents(); }
  bool WindowActive() override;
  bool Present(const uint32_t* pixels, int width, int height) override;
  int ShowMessageBox(const std::string& title, const std::string& text, uint32_t flags) override;
  bool StartKeyboard() override { return inner_.StartKeyboard(); }
  void StopKeyboard() override { inner_.StopKeyboard(); }
  bool ReadKeyboard(uint8_t snapshot[256]) override;
  char TranslateKey(int keyCode) override;
  bool StartMouse() override { return inner_.StartMouse(); }
  void StopMouse() override { inner_.StopMouse(); }
  bool ReadMouse(platform::MouseReading& out) override;
  void ReleaseMouse() override { inner_.ReleaseMouse(); }
  bool StartAudio(platform::AudioFormat& format, platform::Mixer* mixer) override {
    return inner_.StartAudio(format, mixer);
  }
  void StopAudio() override { inner_.StopAudio(); }
  [[noreturn]] void EndProcess(int exitCode) override;
  void Trace(const std::string& event) override;

 private:
  void Begin();
  void Finish(bool complete);

  platform::Backend& inner_;
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
