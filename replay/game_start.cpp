#include "replay/game_start.h"

#include <cstring>
#include <memory>

#include "flow/globals.h"
#include "platform/files.h"
#include "platform/internal/state_reset.h"
#include "replay/byte_stream.h"
#include "scores/high_scores.h"

namespace replay {

namespace {

constexpr size_t kMostTableBytes = 4096;
constexpr size_t kMostText = 255;

struct Out {
  ByteWriter w;
  void I(int32_t& v) { w.Signed(v); }
  void L(int64_t& v) { w.Signed(v); }
  void F(float& v) {
    uint32_t bits = 0;
    std::memcpy(&bits, &v, 4);
    w.Varint(bits);
  }
  void S(std::string& s) { w.Text(s.substr(0, kMostText)); }
  void B(bool& b) { w.Byte(b ? 1 : 0); }
};

struct In {
  ByteReader r;
  void I(int32_t& v) {
    int64_t x = 0;
    r.Int(x, INT32_MIN, INT32_MAX);
    v = static_cast<int32_t>(x);
  }
  // Times far beyond any run's, so no difference of two can overflow.
  void L(int64_t& v) { r.Int(v, -(int64_t{1} << 60), int64_t{1} << 60); }
  void F(float& v) {
    uint64_t x = 0;
    if (!r.Varint(x) || x > UINT32_MAX) x = 0;
    uint32_t bits = static_cast<uint32_t>(x);
    std::memcpy(&v, &bits, 4);
  }
  void S(std::string& s) { r.Text(s, kMostText); }
  void B(bool& b) {
    uint8_t x = 0;
    r.Byte(x);
    b = x != 0;
  }
};

// One list of what is carried, for writing and reading alike.
template <class IO>
void Fields(IO& io, GameGlobals& g, platform::TimingCopy& t, platform::InputCopy& in) {
  io.I(g.SavedState);
  io.I(g.FrameTimeMs);
  io.L(g.LastTick);
  io.L(g.NowTick);
  io.F(g.WaveAmplitude);
  io.F(g.ParticleRise);
  io.F(g.GetReadySpeed);
  io.F(g.SlideSpeed);
  io.I(g.MusicVolume);
  io.I(g.Score);
  io.I(g.Level);
  io.I(g.Stones);
  io.I(g.ToGo);
  io.I(g.LevelBanner);
  io.L(g.LevelBannerTime);
  io.L(g.KeyRepeatTime);
  io.I(g.DropKeyLatch);
  io.F(g.FallPerLevel);
  io.F(g.PieceX);
  io.F(g.PieceY);
  io.I(g.PieceColumn);
  io.I(g.PieceRow);
  io.I(g.ScanRequested);
  io.I(g.ExplosionDrawn);
  io.I(g.ExplosionFrame);
  io.L(g.ExplosionFrameTime);
  io.I(g.HighScoresLoaded);
  io.L(g.NameKeyTime);
  io.S(g.PlayerName);
  for (int x = 0; x < BoardColumns; ++x) {
    for (int y = 0; y < BoardRows; ++y) {
      io.I(g.Board[x][y]);
      io.I(g.MarkGrid[x][y]);
      io.I(g.ExplodeGrid[x][y]);
    }
  }
  for (int k = 0; k < 3; ++k) {
    io.I(g.Piece[k]);
    io.I(g.NextPiece[k]);
  }
  for (HighScoreEntry& row : g.HighScoreTable) {
    io.S(row.name);
    io.I(row.score);
    io.S(row.date);
    io.I(row.level);
  }
  io.I(g.GameOverResultEntered);
  io.I(g.HighScoreFileUnreadable);

  io.B(t.clockStarted);
  io.L(t.originMicros);
  io.B(t.seeded);
  for (int k = 0; k < 17; ++k) {
    int64_t a = t.A[k], b = t.B[k];
    io.L(a);
    io.L(b);
    t.A[k] = static_cast<uint32_t>(a);
    t.B[k] = static_cast<uint32_t>(b);
  }
  io.I(t.i);
  io.I(t.j);

  io.I(in.keyboardState);
  for (int k = 0; k < 256; ++k) {
    int32_t s = in.snapshot[k];
    io.I(s);
    in.snapshot[k] = static_cast<uint8_t>(s);
    io.B(in.releaseLatch[k]);
    io.B(in.typedLatch[k]);
  }
  io.I(in.mouseX);
  io.I(in.mouseY);
  for (int b = 0; b < 4; ++b) io.I(in.buttons[b]);
  io.I(in.acquireState);
}

}  // namespace

std::vector<uint8_t> CaptureGameStart() {
  Out out;
  platform::TimingCopy timing = platform::CopyTimingState();
  platform::InputCopy input = platform::CopyInputState();
  Fields(out, G, timing, input);
  TableFileCopy table;
  int64_t size = 0;
  table.dataFolder = platform::ExamineFile("Data", nullptr) == platform::FileKind::Folder;
  if (platform::ExamineFile(kHighScorePath, &size) == platform::FileKind::Regular) {
    if (auto bytes = platform::ReadFileStart(kHighScorePath, kMostTableBytes)) {
      table.present = true;
      table.bytes = std::move(*bytes);
    }
  }
  out.w.Byte(table.dataFolder ? 1 : 0);
  out.w.Byte(table.present ? 1 : 0);
  out.w.Blob(table.bytes);
  return std::move(out.w.bytes);
}

bool RestoreGameStart(const std::vector<uint8_t>& block, TableFileCopy& table, std::string& error) {
  In in{ByteReader(block.data(), block.size())};
  // Read into copies first: a damaged block changes nothing.
  auto g = std::make_unique<GameGlobals>();
  platform::TimingCopy timing;
  platform::InputCopy input;
  Fields(in, *g, timing, input);
  uint8_t folder = 0, present = 0;
  TableFileCopy t;
  in.r.Byte(folder);
  in.r.Byte(present);
  in.r.Blob(t.bytes, kMostTableBytes);
  if (!in.r.ok() || !in.r.AtEnd() || folder > 1 || present > 1) {
    error = "damaged replay: the game's starting state does not read back";
    return false;
  }
  t.dataFolder = folder != 0;
  t.present = present != 0;
  table = std::move(t);
  // Everything the list carries goes back; the rest of G (loaded pictures,
  // sounds, fonts, colours) is what this run's start-up made.
  platform::TimingCopy unusedTiming;
  platform::InputCopy unusedInput;
  Out copy;
  Fields(copy, *g, unusedTiming, unusedInput);
  In back{ByteReader(copy.w.bytes.data(), copy.w.bytes.size())};
  Fields(back, G, unusedTiming, unusedInput);
  platform::RestoreTimingState(timing);
  platform::RestoreInputState(input);
  return true;
}

uint64_t GameDigest() {
  uint64_t h = 1469598103934665603ull;
  auto mix = [&h](int64_t v) {
    for (int k = 0; k < 8; ++k) {
      h ^= static_cast<uint8_t>(v >> (8 * k));
      h *= 1099511628211ull;
    }
  };
  auto mixFloat = [&mix](float f) {
    uint32_t bits = 0;
    std::memcpy(&bits, &f, 4);
    mix(bits);
  };
  mix(G.CurrentState);
  mix(G.Score);
  mix(G.Level);
  mix(G.Stones);
  mix(G.ToGo);
  mixFloat(G.PieceX);
  mixFloat(G.PieceY);
  for (int x = 0; x < BoardColumns; ++x)
    for (int y = 0; y < BoardRows; ++y) mix(G.Board[x][y]);
  for (int k = 0; k < 3; ++k) {
    mix(G.Piece[k]);
    mix(G.NextPiece[k]);
  }
  for (char c : G.PlayerName) mix(c);
  platform::TimingCopy t = platform::CopyTimingState();
  for (int k = 0; k < 17; ++k) mix(t.A[k]);
  return h;
}

}  // namespace replay
