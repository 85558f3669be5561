// Plays a tape back: a backend that wraps another (headless for checking,
// SDL for watching) and, once engaged, answers every clock, keyboard and
// mouse question from the tape instead. Frames, sound and traces still go
// to the wrapped backend. A game that asks something the tape does not hold
// next, or whose state differs at a checkpoint, has gone astray: that is
// thrown, with where.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "replay/forwarding_backend.h"
#include "replay/tape.h"

namespace replay {

struct ReplayAstray {
  std::string where;
};
// The tape has ended: the recorded game is over.
struct TapeEnded {};

class TapeBackend : public ForwardingBackend {
 public:
  TapeBackend(platform::Backend& inner, const std::vector<uint8_t>& tape, std::function<uint64_t()> digest)
      : ForwardingBackend(inner), reader_(tape), digest_(std::move(digest)) {}

  // From now on the tape answers.
  void Engage() { engaged_ = true; }
  // Called with every clock reading handed to the game (for pacing a
  // watched replay, or for the headless clock).
  std::function<void(int64_t micros)> onClock;
  // Called at every PumpEvents while engaged (a watcher's own keys).
  std::function<void()> onPump;

  const TapeReader& reader() const { return reader_; }
  int64_t checkpointsPassed() const { return reader_.checkpoints; }

  int64_t NowMicros() override;
  uint32_t AutoSeed() override;
  void PumpEvents() override;
  bool WindowActive() override;
  bool Present(const uint32_t* pixels, int width, int height) override;
  int ShowMessageBox(const std::string& title, const std::string& text, uint32_t flags) override;
  bool ReadKeyboard(uint8_t snapshot[256]) override;
  char TranslateKey(int keyCode) override;
  bool ReadMouse(platform::MouseReading& out) override;
  [[noreturn]] void EndProcess(int exitCode) override;
  void Trace(const std::string& event) override;

 private:
  // Throws TapeEnded at the tape's end, ReplayAstray when reading failed.
  void Check(bool read);
  void CheckpointIfDue();

  TapeReader reader_;
  std::function<uint64_t()> digest_;
  bool engaged_ = false;
};

}  // namespace replay
