// A whole game through the scenario runner: a game played to its overflow,
// the game over with a typed name, the file on disk, and the table shown.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "flow/globals.h"
#include "platform/bitmap_file.h"
#include "platform/calendar.h"
#include "platform/keycodes.h"
#include "tests/scores/scores_fixture.h"
#include "tools/sim/scenario.h"

namespace fs = std::filesystem;
using namespace scores_test;

namespace {

void WriteSheet(const fs::path& path, int w, int h, uint32_t (*pixel)(int, int)) {
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = pixel(x, y);
  ASSERT_TRUE(platform::WriteBitmap24(path.string(), pixels.data(), w, h));
}

std::vector<uint8_t> Record(const std::string& name, int32_t score, const std::string& date, int32_t level) {
  std::vector<uint8_t> out{static_cast<uint8_t>(name.size())};
  out.insert(out.end(), name.begin(), name.end());
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(score) >> (8 * k)));
  out.insert(out.end(), date.begin(), date.end());
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(level) >> (8 * k)));
  return out;
}

// A whole game in dir: Space from the title, every piece dropped at once
// until the well overflows, the offered name rubbed out, "zoe" typed and
// Return; the run stops when the table is shown.
struct PlayedGame {
  int status = -1;
  std::string err;
  std::vector<std::string> trace;
  Frame table;
  int64_t gameOverMs = -1;

  bool Traced(const std::string& event) const {
    for (const std::string& line : trace)
      if (line.size() >= event.size() && line.compare(line.size() - event.size(), event.size(), event) == 0) return true;
    return false;
  }
};

PlayedGame PlayAGameNamedZoe(const fs::path& dir) {
  CopyRunAssets(dir);
  EXPECT_TRUE(fs::exists(dir / "graphics" / "Jewels.bmp")) << "run assets missing";
  fs::create_directory(dir / "Data");
  // Font sheets whose glyph cells each have their own colour, so the table
  // on screen can be read back.
  WriteSheet(dir / "graphics" / "BKF-FONT.bmp", 320, 48,
             [](int x, int y) { return SmallGlyphPixel(y / 16 * 20 + x / 16 + 1); });
  WriteSheet(dir / "graphics" / "font.bmp", 352, 128,
             [](int x, int y) { return y % 32 < 28 ? LargeGlyphPixel(y / 32 * 11 + x / 32 + 1) : 0u; });
  platform::SetCalendarClockForTests(int64_t{2223115200});  // 12 June 2040, noon UTC

  PlayedGame game;
  SimOptions options;
  options.dir = dir.string();
  options.seed = 4;
  options.frameUs = 5000;
  options.pollUs = 100;
  options.prepare = [&](platform::HeadlessBackend& b) {
    b.captureLastFrame = true;
    b.KeyAt(100, KeySpace, true);  // start a game from the title
    b.KeyAt(150, KeySpace, false);
    b.traceSink = [&](const std::string& line) {
      game.trace.push_back(line);
      if (line.find(" state 6 7") == std::string::npos) return;
      // Game over: let go of Space, then, once the picture has fallen,
      // clear the offered name, type "zoe" and press Return.
      game.gameOverMs = b.NowMs();
      b.SetKey(KeySpace, false);
      int64_t t = game.gameOverMs + 4000;
      auto tap = [&b](int64_t at, int key) {
        b.KeyAt(at, key, true);
        b.KeyAt(at + 30, key, false);
      };
      for (int k = 0; k < 6; ++k, t += 300) tap(t, KeyBackspace);
      for (int key : {KeyZ, KeyO, KeyE}) {
        tap(t, key);
        t += 300;
      }
      b.KeyAt(t, KeyEnter, true);
      b.KeyAt(t + 100, KeyEnter, false);
    };
    b.onPresent = [&](platform::HeadlessBackend& hb) {
      // Drop every piece as it comes, as fast as the Space latch allows.
      if (G.CurrentState == StatePlaying && game.gameOverMs < 0) hb.SetKey(KeySpace, (hb.NowMs() / 40) % 2 == 0);
      if (G.CurrentState == StateHighScores && ReadSmall(hb.lastFrame, 10, 220, 4) == " 1  ") {
        game.table = hb.lastFrame;
        throw platform::RunStopped{};
      }
      if (hb.NowMs() > 600000) throw platform::RunStopped{};
    };
  };
  std::ostringstream out, err;
  game.status = RunSim(options, out, err);
  game.err = err.str();
  platform::SetCalendarClockForTests(std::nullopt);
  return game;
}

}  // namespace

TEST(ScoresFullGame, PlayedGameIsNamedSavedAndShown) {
  ScopedWorkDir dir;
  PlayedGame game = PlayAGameNamedZoe(dir.path());
  EXPECT_EQ(game.status, 0) << game.err;
  ASSERT_GE(game.gameOverMs, 0) << "the game never ended";
  EXPECT_TRUE(game.Traced("state 5 6"));
  EXPECT_TRUE(game.Traced("highscore row=1"));
  EXPECT_TRUE(game.Traced("highscore save ok"));
  EXPECT_TRUE(game.Traced("state 7 3"));
  EXPECT_GT(G.Level, 0);

  // The file: the new row first, then the nine default rows as the table
  // held them in memory.
  const std::vector<uint8_t> file = ReadBytes(dir.path() / "Data" / "highscore.dat");
  std::vector<uint8_t> expected = Record("ZOE", G.Score, "12-JUN-2040", G.Level);
  for (int row = 2; row <= 10; ++row) {
    std::vector<uint8_t> r = Record("NOBODY", 0, "01-JAN-2007", 0);
    expected.insert(expected.end(), r.begin(), r.end());
  }
  EXPECT_EQ(file, expected);

  // The table on screen.
  const Frame& table = game.table;
  ASSERT_FALSE(table.empty()) << "the table was never shown";
  EXPECT_EQ(ReadSmall(table, 10, 220, 12), " 1  ZOE");
  EXPECT_EQ(ReadSmall(table, 210, 220, 7), std::string(G.Score < 100000 ? 6 - std::to_string(G.Score).size() : 0, ' ') + std::to_string(G.Score));
  EXPECT_EQ(ReadSmall(table, 360, 220, 11), "12-JUN-2040");
  EXPECT_EQ(ReadSmall(table, 10, 400, 12), "10  NOBODY");
  EXPECT_EQ(ReadSmall(table, 360, 400, 11), "01-JAN-2007");
}

#ifndef _WIN32  // a file this user may not read: POSIX permissions
TEST(ScoresFullGame, TableThatCannotBeReadSurvivesAWholeGame) {
  // The player's ten rows, in a file this user may not read: the game is
  // played and named from the defaults in memory, every save fails, and the
  // file keeps every byte.
  ScopedWorkDir dir;
  fs::create_directory(dir.path() / "Data");
  const fs::path file = dir.path() / "Data" / "highscore.dat";
  std::vector<uint8_t> kept;
  for (int row = 1; row <= 10; ++row) {
    std::vector<uint8_t> r = Record("ACE" + std::to_string(row), 9000 - 100 * row, "08-DEC-2026", 7);
    kept.insert(kept.end(), r.begin(), r.end());
  }
  WriteBytes(file, kept);
  fs::permissions(file, fs::perms::none);
  PlayedGame game;
  {
    AsOrdinaryUser user;
    game = PlayAGameNamedZoe(dir.path());
  }
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_GE(game.gameOverMs, 0) << "the game never ended";
  EXPECT_TRUE(game.Traced("highscore row=1"));
  EXPECT_TRUE(game.Traced("highscore save failed"));
  EXPECT_FALSE(game.Traced("highscore save ok"));
  EXPECT_EQ(ReadBytes(file), kept);
  EXPECT_FALSE(fs::exists(dir.path() / "Data" / "highscore.dat.tmp"));
  ASSERT_FALSE(game.table.empty()) << "the table was never shown";
  EXPECT_EQ(ReadSmall(game.table, 10, 220, 12), " 1  ZOE");
  EXPECT_EQ(ReadSmall(game.table, 10, 400, 12), "10  NOBODY");
}
#endif
