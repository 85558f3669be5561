// The tape: every answer the platform gave the game, in the order the game
// asked, each as one op byte and what it needs. Clock readings are stored as
// the step since the previous one (steps under 128 microseconds in the op
// byte itself), keyboard snapshots as the keys that changed, mouse readings
// only when something moved or a button changed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "replay/byte_stream.h"

namespace replay {

enum class Op : uint8_t {
  Clock = 1,       // signed varint: step since the previous reading
  Keys = 2,        // varint n, then n pairs (key, byte) that changed
  KeysSame = 3,
  KeysNone = 4,    // no snapshot could be had
  Mouse = 5,       // flags byte, then the fields it names
  MouseStill = 6,  // nothing moved, buttons as before
  MouseNone = 7,   // the mouse could not be read
  Char = 8,        // one byte
  Active = 9,
  Inactive = 10,
  Present = 11,
  PresentFailed = 12,
  MessageBox = 13,  // signed varint: the button pressed
  Seed = 14,        // varint
  Checkpoint = 15,  // varint frame number, 64-bit digest
};
// Op bytes from here on are clock steps of (byte - kShortClock) microseconds.
inline constexpr uint8_t kShortClock = 0x80;

const char* OpName(Op op);

class TapeWriter {
 public:
  void Clock(int64_t micros);
  void Keys(bool ok, const uint8_t snapshot[256]);
  void Mouse(bool ok, const platform::MouseReading& reading);
  void Char(char c);
  void Active(bool active);
  void Present(bool ok);
  void MessageBox(int button);
  void Seed(uint32_t seed);
  void Checkpoint(uint64_t digest);

  int64_t frames = 0;  // presents written
  int64_t firstClock = 0;
  int64_t lastClock = 0;
  std::vector<uint8_t>& bytes() { return w_.bytes; }
  const std::vector<uint8_t>& bytes() const { return w_.bytes; }

 private:
  ByteWriter w_;
  bool haveClock_ = false;
  uint8_t keys_[256] = {};
  int buttons_[3] = {};
};

class TapeReader {
 public:
  explicit TapeReader(const std::vector<uint8_t>& tape) : tape_(tape), r_(tape.data(), tape.size()) {}

  // Each returns false when the tape's next op is another one, is damaged,
  // or the tape has ended; error() then says which.
  bool Clock(int64_t& micros);
  bool Keys(bool& ok, uint8_t snapshot[256]);
  bool Mouse(bool& ok, platform::MouseReading& reading);
  bool Char(char& c);
  bool Active(bool& active);
  bool Present(bool& ok);
  bool MessageBox(int& button);
  bool Seed(uint32_t& seed);
  bool NextIsCheckpoint();
  bool Checkpoint(int64_t& frame, uint64_t& digest);

  // Reads whatever op comes next (for tools that walk a tape); its kind goes
  // to op. False at the end or on damage.
  bool Next(Op& op);

  bool AtEnd() const { return r_.AtEnd(); }
  const std::string& error() const { return error_; }
  int64_t frames = 0;  // presents read
  int64_t lastClock = 0;
  int64_t checkpoints = 0;
  // Where the last op began, in the tape's bytes.
  size_t opOffset = 0;

 private:
  bool Take(Op want, Op& got);
  bool Fail(const std::string& why);

  const std::vector<uint8_t>& tape_;
  ByteReader r_;
  std::string error_;
  bool haveClock_ = false;
  uint8_t keys_[256] = {};
  int buttons_[3] = {};
};

}  // namespace replay
