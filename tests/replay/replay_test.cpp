// Recorded games: a scripted game is taped through the recording backend,
// then played back headless. The tape must reproduce the game exactly, the
// recording must not change what the game does or saves, and a tape that
// was altered, damaged or made by another version must be caught.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>

#include "replay/replay_file.h"
#include "replay/tape.h"
#include "tests/test_support.h"
#include "tools/fuzz/replay_input.h"

namespace fs = std::filesystem;

namespace {

const std::string kScript = std::string(STAKKO_SOURCE_DIR) + "/tests/data/golden/game_moves.script";

// Trace events without their "t=.. f=.. " prefix, from the line holding
// `from` (exclusive) through the one holding `to` (inclusive).
std::vector<std::string> Events(const std::string& out, const std::string& from, const std::string& to) {
  std::vector<std::string> events;
  std::istringstream in(out);
  bool inside = from.empty();
  for (std::string line; std::getline(in, line);) {
    const size_t cut = line.find(' ', line.find(" f=") + 1);
    const std::string event = cut == std::string::npos ? line : line.substr(cut + 1);
    if (!inside) {
      inside = event == from;
      continue;
    }
    events.push_back(event);
    if (event == to) break;
  }
  return events;
}

std::vector<std::string> BoardLines(const std::string& out) {
  std::vector<std::string> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);)
    if (line.rfind("board ", 0) == 0) lines.push_back(line);
  return lines;
}

class ReplayTest : public ::testing::Test {
 protected:
  // One recorded game for the whole suite: the golden game of moves, its
  // name typed into the table.
  static void SetUpTestSuite() {
    dir_ = new ScopedWorkDir();
    for (const char* run : {"plain", "taped"}) {
      fs::create_directories(dir_->path() / run / "Data");
      CopyRunAssets(dir_->path() / run);
    }
    const std::vector<std::string> common = {"--seed", "7", "--frame-us", "5000", "--until-ms", "70000",
                                             "--script", kScript, "--trace", "--board"};
    std::vector<std::string> plain = common, taped = common;
    plain.insert(plain.end(), {"--dir", (dir_->path() / "plain").string()});
    taped.insert(taped.end(), {"--dir", (dir_->path() / "taped").string(), "--record", file().string()});
    plainRun_ = new SimRun(RunSimWith(plain));
    tapedRun_ = new SimRun(RunSimWith(taped));
  }
  static void TearDownTestSuite() {
    delete plainRun_;
    delete tapedRun_;
    delete dir_;
  }
  static fs::path file() { return dir_->path() / "game.stkr"; }

  static SimRun Sim(const std::string& option, const fs::path& replay, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"--dir", STAKKO_RUN_DIR, option, replay.string()};
    args.insert(args.end(), more.begin(), more.end());
    return RunSimWith(args);
  }

  // The recorded file, changed by edit and written as a new file.
  static fs::path Altered(const std::string& name, const std::function<void(replay::ReplayFile&)>& edit) {
    replay::ReplayFile f;
    std::string error;
    EXPECT_TRUE(replay::LoadReplay(file().string(), f, error)) << error;
    edit(f);
    const fs::path out = dir_->path() / name;
    WriteBytes(out, replay::EncodeReplay(f));
    return out;
  }

  static ScopedWorkDir* dir_;
  static SimRun* plainRun_;
  static SimRun* tapedRun_;
};

ScopedWorkDir* ReplayTest::dir_ = nullptr;
SimRun* ReplayTest::plainRun_ = nullptr;
SimRun* ReplayTest::tapedRun_ = nullptr;

TEST_F(ReplayTest, RecordingChangesNothingAndTheTapeReplaysTheGameExactly) {
  ASSERT_EQ(tapedRun_->status, 0) << tapedRun_->err;
  // The recorder only listens: the same trace, the same table bytes.
  EXPECT_EQ(plainRun_->out, tapedRun_->out);
  const std::vector<uint8_t> table = ReadBytes(dir_->path() / "plain" / "Data" / "highscore.dat");
  ASSERT_FALSE(table.empty());
  EXPECT_EQ(table, ReadBytes(dir_->path() / "taped" / "Data" / "highscore.dat"));

  SimRun verify = Sim("--verify", file());
  EXPECT_EQ(verify.status, 0) << verify.err;
  EXPECT_EQ(verify.out.rfind("verified: score 24, level 1, stones 4,", 0), 0u) << verify.out;

  // Every event from the slide to the table, and the final well, again;
  // the player's own table (the run folder's) is never written.
  const fs::path runTable = fs::path(STAKKO_RUN_DIR) / "Data" / "highscore.dat";
  const std::vector<uint8_t> before = ReadBytes(runTable);
  SimRun replayed = Sim("--replay", file(), {"--trace", "--board"});
  EXPECT_EQ(replayed.status, 0) << replayed.err;
  const std::vector<std::string> recorded = Events(tapedRun_->out, "state 1 5", "state 7 3");
  ASSERT_GT(recorded.size(), 20u);
  EXPECT_EQ(Events(replayed.out, "", "state 7 3"), recorded);
  EXPECT_EQ(BoardLines(replayed.out), BoardLines(tapedRun_->out));
  EXPECT_EQ(ReadBytes(runTable), before);
}

TEST_F(ReplayTest, AlteredTapesAreCaughtWhereTheyStray) {
  // A checkpoint that no longer matches the game: caught at that one.
  const fs::path digest = Altered("digest.stkr", [](replay::ReplayFile& f) {
    replay::TapeReader reader(f.tape);
    replay::Op op{};
    while (reader.Next(op))
      if (op == replay::Op::Checkpoint && reader.checkpoints == 2) break;
    f.tape[reader.opOffset + 4] ^= 1;  // op, two-byte frame number, digest
  });
  SimRun stray = Sim("--verify", digest);
  EXPECT_EQ(stray.status, 1);
  EXPECT_NE(stray.err.find("not verified: went astray before checkpoint 2 at frame 1000: the game's state differs"),
            std::string::npos)
      << stray.err;


  // One key flipped: the first change to Left (KeyCode 203) in play, after
  // frame 1000, turned the other way.
  int64_t flippedAt = 0;
  const fs::path flipped = Altered("flipped.stkr", [&](replay::ReplayFile& f) {
    replay::TapeReader reader(f.tape);
    replay::Op op{};
    for (size_t at = 0; flippedAt == 0 && (at = reader.opOffset, reader.Next(op));) {
      if (op != replay::Op::Keys || reader.frames < 1000) continue;
      const size_t start = reader.opOffset;
      for (size_t k = start + 2; k + 1 < f.tape.size() && k < start + 2 + 2 * f.tape[start + 1]; k += 2) {
        if (f.tape[k] == 203) {
          f.tape[k + 1] ^= 0x80;
          flippedAt = reader.frames;
          break;
        }
      }
    }
  });
  ASSERT_GT(flippedAt, 0);
  SimRun verify = Sim("--verify", flipped);
  EXPECT_EQ(verify.status, 1);
  // The game reads its keys before it presents frame flippedAt + 1: the
  // checkpoints up to there agree, the next one cannot (here the game
  // already asks something else than the tape holds in that very frame).
  const int64_t checkpoint = flippedAt / 500 + 1;
  EXPECT_NE(verify.err.find("not verified: went astray at frame " + std::to_string(flippedAt + 1) +
                            ", before checkpoint " + std::to_string(checkpoint) + " "),
            std::string::npos)
      << verify.err << " (flipped at frame " << flippedAt << ")";
}

TEST_F(ReplayTest, OtherVersionsAndDamagedFilesAreRefused) {
  SimRun other = Sim("--verify", Altered("old.stkr", [](replay::ReplayFile& f) { f.gameVersion = "0.9.0"; }));
  EXPECT_EQ(other.status, 1);
  EXPECT_NE(other.err.find("recorded by Stakko 0.9.0; this is Stakko " + std::string(replay::ThisGameVersion())),
            std::string::npos)
      << other.err;
  SimRun claim = Sim("--verify", Altered("claim.stkr", [](replay::ReplayFile& f) { f.score += 100; }));
  EXPECT_EQ(claim.status, 1);
  EXPECT_NE(claim.err.find("the file claims score 124"), std::string::npos) << claim.err;

  std::vector<uint8_t> bytes = ReadBytes(file());
  std::string error;
  replay::ReplayFile f;
  std::vector<uint8_t> format = bytes;
  format[8] = 2;
  EXPECT_FALSE(replay::DecodeReplay(format.data(), format.size(), f, error));
  EXPECT_EQ(error, "replay format 2: this game reads format 1 only");
  EXPECT_FALSE(replay::DecodeReplay(bytes.data(), bytes.size() - 1, f, error));
  EXPECT_EQ(error, "damaged replay: its checksum does not match (truncated or altered)");
  // A tape claiming to unpack to a terabyte is refused before any memory is
  // asked for (the sanitizers' allocator would fail the test otherwise).
  replay::ByteWriter huge;
  huge.bytes.assign(bytes.begin(), bytes.begin() + 10);
  for (const char* text : {"1.0.0", "linux"}) huge.Text(text);
  for (int64_t v : {2026, 1, 1}) huge.Signed(v);
  huge.Text("X");
  for (int64_t v : {0, 0, 0, 0, 0}) huge.Signed(v);
  huge.Byte(1);
  huge.Blob({});
  huge.Varint(uint64_t{1} << 40);
  huge.Blob({1, 2});
  const uint32_t crc = replay::Crc32(huge.bytes.data(), huge.bytes.size());
  for (int k = 0; k < 4; ++k) huge.Byte(static_cast<uint8_t>(crc >> (8 * k)));
  EXPECT_FALSE(replay::DecodeReplay(huge.bytes.data(), huge.bytes.size(), f, error));
  EXPECT_EQ(error, "not a replay: its tape would be larger than any game's");
}

// The fuzz target's body over mutations of the stored seed, a bounded
// number of times: CI runs what the fuzzer runs, without clang.
TEST(ReplayReader, SurvivesMutatedAndTruncatedSeeds) {
  const std::vector<uint8_t> seed = ReadBytes(std::string(STAKKO_SOURCE_DIR) + "/tests/data/replay/game_moves.stkr");
  ASSERT_GT(seed.size(), 100u);
  std::mt19937 random(24);
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> input = seed;
    const int mutations = 1 + static_cast<int>(random() % 8);
    for (int m = 0; m < mutations; ++m) {
      const size_t at = random() % input.size();
      switch (random() % 4) {
        case 0: input[at] = static_cast<uint8_t>(random()); break;
        case 1: input[at] ^= static_cast<uint8_t>(1u << (random() % 8)); break;
        case 2: input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), static_cast<uint8_t>(random())); break;
        default: input.resize(std::max<size_t>(at, 1)); break;
      }
    }
    ExerciseReplayReader(input.data(), input.size());
  }
  platform::ResetAllPlatformState();
  ClearGameGlobals();
}

}  // namespace
