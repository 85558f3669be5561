#include "replay/tape.h"

#include <cstring>

namespace replay {

const char* OpName(Op op) {
  switch (op) {
    case Op::Clock: return "a clock reading";
    case Op::Keys:
    case Op::KeysSame:
    case Op::KeysNone: return "a keyboard snapshot";
    case Op::Mouse:
    case Op::MouseStill:
    case Op::MouseNone: return "a mouse reading";
    case Op::Char: return "a typed character";
    case Op::Active:
    case Op::Inactive: return "the window's focus";
    case Op::Present:
    case Op::PresentFailed: return "a presented frame";
    case Op::MessageBox: return "a message box";
    case Op::Seed: return "a seed";
    case Op::Checkpoint: return "a checkpoint";
  }
  return "an unknown op";
}

// --- Writing ---------------------------------------------------------------

void TapeWriter::Clock(int64_t micros) {
  if (!haveClock_) {
    haveClock_ = true;
    firstClock = lastClock = micros;
    w_.Byte(static_cast<uint8_t>(Op::Clock));
    w_.Signed(micros);
    return;
  }
  const int64_t step = micros - lastClock;
  lastClock = micros;
  if (step >= 0 && step < 0x80) {
    w_.Byte(static_cast<uint8_t>(kShortClock + step));
  } else {
    w_.Byte(static_cast<uint8_t>(Op::Clock));
    w_.Signed(step);
  }
}

void TapeWriter::Keys(bool ok, const uint8_t snapshot[256]) {
  if (!ok) {
    w_.Byte(static_cast<uint8_t>(Op::KeysNone));
    return;
  }
  int changed = 0;
  for (int k = 0; k < 256; ++k) changed += snapshot[k] != keys_[k];
  if (changed == 0) {
    w_.Byte(static_cast<uint8_t>(Op::KeysSame));
    return;
  }
  w_.Byte(static_cast<uint8_t>(Op::Keys));
  w_.Varint(static_cast<uint64_t>(changed));
  for (int k = 0; k < 256; ++k) {
    if (snapshot[k] == keys_[k]) continue;
    w_.Byte(static_cast<uint8_t>(k));
    w_.Byte(snapshot[k]);
    keys_[k] = snapshot[k];
  }
}

namespace {
enum MouseFlags : uint8_t { kDx = 1, kDy = 2, kWheel = 4, kButtons = 8, kPosition = 16 };
}

void TapeWriter::Mouse(bool ok, const platform::MouseReading& m) {
  if (!ok) {
    w_.Byte(static_cast<uint8_t>(Op::MouseNone));
    return;
  }
  uint8_t flags = 0;
  if (m.dx != 0) flags |= kDx;
  if (m.dy != 0) flags |= kDy;
  if (m.wheel != 0) flags |= kWheel;
  for (int b = 0; b < 3; ++b)
    if (m.buttons[b] != buttons_[b]) flags |= kButtons;
  if (m.hasPosition) flags |= kPosition;
  if (flags == 0) {
    w_.Byte(static_cast<uint8_t>(Op::MouseStill));
    return;
  }
  w_.Byte(static_cast<uint8_t>(Op::Mouse));
  w_.Byte(flags);
  if (flags & kDx) w_.Signed(m.dx);
  if (flags & kDy) w_.Signed(m.dy);
  if (flags & kWheel) w_.Signed(m.wheel);
  if (flags & kButtons) {
    for (int b = 0; b < 3; ++b) {
      w_.Signed(m.buttons[b]);
      buttons_[b] = m.buttons[b];
    }
  }
  if (flags & kPosition) {
    w_.Signed(m.x);
    w_.Signed(m.y);
  }
}

void TapeWriter::Char(char c) {
  w_.Byte(static_cast<uint8_t>(Op::Char));
  w_.Byte(static_cast<uint8_t>(c));
}

void TapeWriter::Active(bool active) { w_.Byte(static_cast<uint8_t>(active ? Op::Active : Op::Inactive)); }

void TapeWriter::Present(bool ok) {
  ++frames;
  w_.Byte(static_cast<uint8_t>(ok ? Op::Present : Op::PresentFailed));
}

void TapeWriter::MessageBox(int button) {
  w_.Byte(static_cast<uint8_t>(Op::MessageBox));
  w_.Signed(button);
}

void TapeWriter::Seed(uint32_t seed) {
  w_.Byte(static_cast<uint8_t>(Op::Seed));
  w_.Varint(seed);
}

void TapeWriter::Checkpoint(uint64_t digest) {
  w_.Byte(static_cast<uint8_t>(Op::Checkpoint));
  w_.Varint(static_cast<uint64_t>(frames));
  w_.Fixed64(digest);
}

// --- Reading ---------------------------------------------------------------

bool TapeReader::Fail(const std::string& why) {
  if (error_.empty()) error_ = why;
  return false;
}

bool TapeReader::Take(Op want, Op& got) {
  if (!error_.empty()) return false;
  opOffset = r_.Offset(tape_.data());
  uint8_t b = 0;
  if (!r_.Byte(b)) return Fail("the tape ended where the game asked for " + std::string(OpName(want)));
  got = b >= kShortClock ? Op::Clock : static_cast<Op>(b);
  return true;
}

bool TapeReader::Clock(int64_t& micros) {
  if (!error_.empty()) return false;
  opOffset = r_.Offset(tape_.data());
  uint8_t b = 0;
  if (!r_.Byte(b)) return Fail("the tape ended where the game asked for a clock reading");
  int64_t step = 0;
  if (b >= kShortClock) {
    if (!haveClock_) return Fail("damaged tape: a clock step before the first reading");
    step = b - kShortClock;
  } else if (b == static_cast<uint8_t>(Op::Clock)) {
    if (!r_.Signed(step)) return Fail("damaged tape: a clock reading is cut short");
  } else {
    return Fail(std::string("the game asked for a clock reading where the tape holds ") + OpName(static_cast<Op>(b)));
  }
  // A clock never runs backwards, and stays far below where a difference
  // of two readings could overflow.
  constexpr int64_t kLatest = int64_t{1} << 60;
  if (!haveClock_) {
    if (step < 0 || step > kLatest) return Fail("damaged tape: a clock reading out of range");
    haveClock_ = true;
    lastClock = step;
  } else {
    if (step < 0 || step > kLatest - lastClock) return Fail("damaged tape: the clock runs backwards or too far");
    lastClock += step;
  }
  micros = lastClock;
  return true;
}

bool TapeReader::Keys(bool& ok, uint8_t snapshot[256]) {
  Op op{};
  if (!Take(Op::Keys, op)) return false;
  if (op == Op::KeysNone) {
    ok = false;
    return true;
  }
  if (op != Op::Keys && op != Op::KeysSame)
    return Fail(std::string("the game read the keyboard where the tape holds ") + OpName(op));
  if (op == Op::Keys) {
    uint64_t n = 0;
    if (!r_.Varint(n) || n == 0 || n > 256) return Fail("damaged tape: a keyboard snapshot is malformed");
    for (uint64_t i = 0; i < n; ++i) {
      uint8_t key = 0, value = 0;
      if (!r_.Byte(key) || !r_.Byte(value)) return Fail("damaged tape: a keyboard snapshot is cut short");
      keys_[key] = value;
    }
  }
  std::memcpy(snapshot, keys_, sizeof keys_);
  ok = true;
  return true;
}

bool TapeReader::Mouse(bool& ok, platform::MouseReading& m) {
  Op op{};
  if (!Take(Op::Mouse, op)) return false;
  m = platform::MouseReading{};
  for (int b = 0; b < 3; ++b) m.buttons[b] = buttons_[b];
  ok = op != Op::MouseNone;
  if (op == Op::MouseNone || op == Op::MouseStill) return true;
  if (op != Op::Mouse) return Fail(std::string("the game read the mouse where the tape holds ") + OpName(op));
  uint8_t flags = 0;
  int64_t v = 0;
  constexpr int64_t kMost = 1 << 24;
  if (!r_.Byte(flags) || flags >= 32) return Fail("damaged tape: a mouse reading is malformed");
  auto field = [&](int& out) {
    if (!r_.Int(v, -kMost, kMost)) return false;
    out = static_cast<int>(v);
    return true;
  };
  bool good = true;
  if (flags & kDx) good = good && field(m.dx);
  if (flags & kDy) good = good && field(m.dy);
  if (flags & kWheel) good = good && field(m.wheel);
  if (flags & kButtons) {
    for (int b = 0; b < 3; ++b) {
      good = good && field(m.buttons[b]);
      buttons_[b] = m.buttons[b];
    }
  }
  if (flags & kPosition) {
    m.hasPosition = true;
    good = good && field(m.x) && field(m.y);
  }
  if (!good) return Fail("damaged tape: a mouse reading is malformed");
  return true;
}

bool TapeReader::Char(char& c) {
  Op op{};
  if (!Take(Op::Char, op)) return false;
  if (op != Op::Char) return Fail(std::string("the game asked for a typed character where the tape holds ") + OpName(op));
  uint8_t b = 0;
  if (!r_.Byte(b)) return Fail("damaged tape: a character is cut short");
  c = static_cast<char>(b);
  return true;
}

bool TapeReader::Active(bool& active) {
  Op op{};
  if (!Take(Op::Active, op)) return false;
  if (op != Op::Active && op != Op::Inactive)
    return Fail(std::string("the game asked for the window's focus where the tape holds ") + OpName(op));
  active = op == Op::Active;
  return true;
}

bool TapeReader::Present(bool& ok) {
  Op op{};
  if (!Take(Op::Present, op)) return false;
  if (op != Op::Present && op != Op::PresentFailed)
    return Fail(std::string("the game presented a frame where the tape holds ") + OpName(op));
  ok = op == Op::Present;
  ++frames;
  return true;
}

bool TapeReader::MessageBox(int& button) {
  Op op{};
  if (!Take(Op::MessageBox, op)) return false;
  int64_t v = 0;
  if (op != Op::MessageBox) return Fail(std::string("the game showed a message box where the tape holds ") + OpName(op));
  if (!r_.Int(v, INT32_MIN, INT32_MAX)) return Fail("damaged tape: a message box answer is malformed");
  button = static_cast<int>(v);
  return true;
}

bool TapeReader::Seed(uint32_t& seed) {
  Op op{};
  if (!Take(Op::Seed, op)) return false;
  uint64_t v = 0;
  if (op != Op::Seed) return Fail(std::string("the game asked for a seed where the tape holds ") + OpName(op));
  if (!r_.Varint(v) || v > UINT32_MAX) return Fail("damaged tape: a seed is malformed");
  seed = static_cast<uint32_t>(v);
  return true;
}

bool TapeReader::NextIsCheckpoint() {
  const size_t at = r_.Offset(tape_.data());
  return error_.empty() && at < tape_.size() && tape_[at] == static_cast<uint8_t>(Op::Checkpoint);
}

bool TapeReader::Checkpoint(int64_t& frame, uint64_t& digest) {
  Op op{};
  if (!Take(Op::Checkpoint, op)) return false;
  uint64_t f = 0;
  if (op != Op::Checkpoint || !r_.Varint(f) || f > static_cast<uint64_t>(INT64_MAX) || !r_.Fixed64(digest))
    return Fail("damaged tape: a checkpoint is malformed");
  frame = static_cast<int64_t>(f);
  ++checkpoints;
  return true;
}

bool TapeReader::Next(Op& op) {
  const size_t at = r_.Offset(tape_.data());
  if (!error_.empty() || at >= tape_.size()) return false;
  const uint8_t b = tape_[at];
  op = b >= kShortClock ? Op::Clock : static_cast<Op>(b);
  int64_t micros = 0, frame = 0;
  uint64_t digest = 0;
  uint32_t seed = 0;
  uint8_t keys[256];
  platform::MouseReading mouse;
  bool flag = false;
  char c = 0;
  int button = 0;
  switch (op) {
    case Op::Clock: return Clock(micros);
    case Op::Keys:
    case Op::KeysSame:
    case Op::KeysNone: return Keys(flag, keys);
    case Op::Mouse:
    case Op::MouseStill:
    case Op::MouseNone: return Mouse(flag, mouse);
    case Op::Char: return Char(c);
    case Op::Active:
    case Op::Inactive: return Active(flag);
    case Op::Present:
    case Op::PresentFailed: return Present(flag);
    case Op::MessageBox: return MessageBox(button);
    case Op::Seed: return Seed(seed);
    case Op::Checkpoint: return Checkpoint(frame, digest);
  }
  return Fail("damaged tape: unknown op " + std::to_string(b));
}

}  // namespace replay
