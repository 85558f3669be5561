// Whole games through the scenario runner: the real start-up, title, slide
// and play with a fixed seed and a scripted player, checked against the
// trace and against the pictures presented.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "flow/globals.h"
#include "platform/bitmap_file.h"
#include "platform/files.h"
#include "platform/keycodes.h"
#include "platform/internal/back_buffer.h"
#include "platform/screen.h"
#include "platform/wave_file.h"
#include "tests/play/play_fixture.h"
#include "tools/sim/scenario.h"

namespace fs = std::filesystem;

namespace {

struct Press {
  int64_t ms;
  int key;
  int64_t holdMs;
};

std::vector<platform::ScriptEvent> Script(const std::vector<Press>& presses) {
  std::vector<platform::ScriptEvent> events;
  for (const Press& p : presses) {
    events.push_back({p.ms * 1000, platform::ScriptEvent::Kind::Key, p.key, 0, true});
    events.push_back({(p.ms + p.holdMs) * 1000, platform::ScriptEvent::Kind::Key, p.key, 0, false});
  }
  return events;
}

// Space to start; from 6 s on, every 500 ms the piece is moved a few
// columns (one press per 90 ms, longer than the repeat delay) and dropped.
std::vector<Press> ColumnHoppingPlayer(int64_t untilMs) {
  std::vector<Press> presses = {{100, KeySpace, 100}};
  const int offsets[] = {-3, 2, -1, 1, -2, 0, 2, -3, 1, -1, 0, 2};
  int i = 0;
  for (int64_t t = 6000; t < untilMs; t += 500, ++i) {
    int offset = offsets[i % 12];
    for (int j = 0; j < std::abs(offset); ++j) presses.push_back({t + j * 90, offset < 0 ? KeyLeft : KeyRight, 30});
    presses.push_back({t + 300, KeySpace, 60});
  }
  return presses;
}

struct GameRun {
  std::vector<std::string> events;  // trace events without their prefix
  std::string out;
  GameGlobals end;
};

class WholeGame : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyRunAssets(dir.path());
    fs::create_directories(dir.path() / "Data");
    ASSERT_TRUE(fs::exists(dir.path() / "graphics" / "Jewels.bmp")) << "the generated pictures are missing";
  }

  GameRun Play(SimOptions options) {
    options.dir = dir.path().string();
    options.trace = true;
    std::ostringstream out, err;
    EXPECT_EQ(RunSim(options, out, err), 0) << err.str();
    GameRun run;
    run.out = out.str();
    run.end = G;
    std::istringstream lines(run.out);
    std::regex prefix(R"(^t=\d+ f=\d+ )");
    for (std::string line; std::getline(lines, line);) run.events.push_back(std::regex_replace(line, prefix, ""));
    return run;
  }

  ScopedWorkDir dir;
};

bool StartsWith(const std::string& s, const std::string& p) { return s.rfind(p, 0) == 0; }

int Field(const std::string& event, const std::string& name) {
  std::smatch m;
  std::regex re(name + "=(-?\\d+)");
  if (!std::regex_search(event, m, re)) return -1;
  return std::stoi(m[1]);
}

}  // namespace

TEST_F(WholeGame, ScriptedPlayerTraceScoresEveryLineAtTheRowItsPieceCameToRestAndTheMixNeverClips) {
  SimOptions options;
  options.seed = 7;  // seven lines, one of them a chain
  options.events = Script(ColumnHoppingPlayer(25000));
  options.untilMs = 19500;
  options.audioOut = (dir.path() / "mix.wav").string();
  GameRun run = Play(options);
  const auto mix = platform::ReadWholeFile(options.audioOut, 1 << 24);
  ASSERT_TRUE(mix.has_value());

  auto find = [&](const std::string& e) { return std::find(run.events.begin(), run.events.end(), e); };
  auto playing = find("state 5 6");
  ASSERT_NE(playing, run.events.end());
  auto over = find("gameover");
  ASSERT_NE(over, run.events.end());
  EXPECT_EQ(*(over + 1), "state 6 7");

  // Between start and end: the trace's own arithmetic must add up.
  int score = 0, stones = 0, level = 1, lastLockRow = -1, explosions = 0;
  std::string previous;
  for (auto it = playing + 1; it != over; ++it) {
    const std::string& e = *it;
    if (StartsWith(e, "sound")) continue;
    if (StartsWith(e, "lock")) {
      lastLockRow = Field(e, "row");
      EXPECT_GE(lastLockRow, 3);
      EXPECT_LE(lastLockRow, 12);
    } else if (StartsWith(e, "levelup")) {
      EXPECT_EQ(Field(e, "level"), level + 1);
      ++level;
    } else if (StartsWith(e, "explode")) {
      ++explosions;
      int cells = Field(e, "cells");
      EXPECT_GE(cells, 3);
      stones += cells;
      // Straight after a hard drop the line scores at that piece's row.
      if (StartsWith(previous, "lock") && level == 1) {
        EXPECT_EQ(Field(e, "score") - score, cells * lastLockRow) << e;
      }
      score = Field(e, "score");
    }
    previous = e;
  }
  EXPECT_EQ(explosions, 7);
  EXPECT_EQ(run.end.Score, score);
  EXPECT_EQ(run.end.Stones, stones);
  EXPECT_EQ(run.end.Level, level);

  // The game ended on a column with no room: the cell below the failed
  // resting row is taken, and every column is packed.
  EXPECT_LE(run.end.PieceRow, 2);
  EXPECT_NE(run.end.Board[run.end.PieceColumn][run.end.PieceRow + 1], 0);
  for (int x = 0; x < BoardColumns; ++x) {
    bool reachedJewels = false;
    for (int y = 0; y < BoardRows; ++y) {
      if (run.end.Board[x][y] != 0) reachedJewels = true;
      else EXPECT_FALSE(reachedJewels) << "gap in column " << x << " row " << y;
    }
  }

  // What the player heard: the play music at volume 50 under a drop every
  // half second and seven explosions, each straight after a drop. The
  // mixer's clamp is a last guard only: no sample may reach full scale.
  const auto wave = platform::ParseWaveFile(mix->data(), mix->size());
  ASSERT_TRUE(wave.has_value());
  ASSERT_EQ(wave->bitsPerSample, 16);
  // 19.5 s of virtual time, give or take the last step of the clock.
  const double seconds = static_cast<double>(wave->samples.size() / 2 / static_cast<size_t>(wave->channels)) / wave->rate;
  EXPECT_NEAR(seconds, 19.5, 0.01);
  int peak = 0;
  for (size_t i = 0; i + 1 < wave->samples.size(); i += 2) {
    const int v = static_cast<int16_t>(wave->samples[i] | (wave->samples[i + 1] << 8));
    peak = std::max(peak, v < 0 ? -v : v);
  }
  EXPECT_LT(peak, 32767);
  EXPECT_GT(peak, 12000) << "the capture should hold the music and the effects";

  // The same seed and script play the same game, and sound the same.
  GameRun again = Play(options);
  EXPECT_EQ(again.events, run.events);
  EXPECT_EQ(platform::ReadWholeFile(options.audioOut, 1 << 24), mix);
}

TEST_F(WholeGame, EveryPresentedPlayFrameShowsTheBoardAsTheFrameBeforeLeftIt) {
  auto bytes = platform::ReadWholeFile("graphics\\Jewels.bmp", 1 << 20);
  ASSERT_TRUE(bytes.has_value());
  auto sheet = platform::DecodeBitmap(bytes->data(), bytes->size());
  ASSERT_TRUE(sheet.has_value());
  auto tilePixel = [&](int kind, int dx, int dy) {
    return sheet->pixels[static_cast<size_t>(dy * sheet->width + kind * 32 + dx)];
  };

  SimOptions options;
  options.seed = 5;
  options.events = Script(ColumnHoppingPlayer(25000));
  options.untilMs = 15500;
  int compared = 0, mismatches = 0;
  int64_t frame = 0;
  bool havePrevious = false;
  Jewel previousBoard[BoardColumns][BoardRows] = {};
  float pieceX = 0.0f, pieceY = 0.0f;
  options.prepare = [&](platform::HeadlessBackend& b) {
    // The back buffer still holds the picture while it is being presented.
    b.onPresent = [&](platform::HeadlessBackend&) {
      const uint32_t* presented = platform::BackBufferPixels();
      bool playingNow = G.CurrentState == StatePlaying || G.CurrentState == StateGameOver;
      // What was on the Board when this picture was drawn.
      if (havePrevious && playingNow && G.ExplosionDrawn == 0 && ++frame % 7 == 0) {
        for (int x = 0; x < BoardColumns; ++x) {
          for (int y = 1; y < BoardRows; ++y) {
            // The falling piece is drawn over the well.
            int cellX = 224 + 32 * x, cellY = 55 + 32 * y;
            if (cellX + 32 > pieceX && cellX < pieceX + 32 && cellY + 32 > pieceY && cellY < pieceY + 96) continue;
            int kind = previousBoard[x][y];
            for (int d = 2; d < 32; d += 9) {
              uint32_t shown = presented[static_cast<size_t>((55 + 32 * y + d) * 640 + 224 + 32 * x + d)];
              if (shown != tilePixel(kind, d, d)) ++mismatches;
              ++compared;
            }
          }
        }
      }
      havePrevious = G.CurrentState == StatePlaying;
      std::memcpy(previousBoard, G.Board, sizeof previousBoard);
      pieceX = G.PieceX;
      pieceY = G.PieceY;
    };
  };
  GameRun run = Play(options);
  ASSERT_NE(std::find(run.events.begin(), run.events.end(), "gameover"), run.events.end());
  EXPECT_GT(compared, 10000);
  EXPECT_EQ(mismatches, 0);
}

TEST_F(WholeGame, DroppingEveryPieceIntoTheMiddleEndsTheGameWithNothingCleared) {
  SimOptions options;
  options.seed = 1;
  // Escape in the middle of play does nothing.
  options.events = Script({{100, KeySpace, 100},
                           {4000, KeyEscape, 100},
                           {4200, KeySpace, 100},
                           {4500, KeySpace, 100},
                           {4800, KeySpace, 100},
                           {5100, KeySpace, 100},
                           {5400, KeySpace, 100}});
  options.untilMs = 6000;
  GameRun run = Play(options);
  std::vector<std::string> play;
  for (const std::string& e : run.events)
    if (StartsWith(e, "lock") || StartsWith(e, "gameover") || StartsWith(e, "explode") || StartsWith(e, "state 6"))
      play.push_back(e);
  // The fourth piece fills rows 1 to 3; the next one, falling, meets it at
  // once and the game is over before the fifth press.
  const std::vector<std::string> expected = {"lock col=3 row=12", "lock col=3 row=9", "lock col=3 row=6",
                                             "lock col=3 row=3", "gameover", "state 6 7"};
  EXPECT_EQ(play, expected);
  EXPECT_EQ(run.end.Score, 0);
  EXPECT_EQ(run.end.Level, 1);
  EXPECT_EQ(run.end.Stones, 0);
  EXPECT_EQ(run.end.ToGo, 30);
}
