// The game-over sequence: the falling picture over the final board, name
// entry with its gate and 8-character column, the saved table, the closing
// wait, and a second pass after the exit dialog.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/keycodes.h"
#include "scores/game_over.h"
#include "scores/high_scores.h"
#include "tests/scores/scores_fixture.h"

namespace fs = std::filesystem;
using namespace scores_test;

namespace {

void FullTable(int32_t score) {
  for (int row = 1; row <= 10; ++row) G.HighScoreTable[row] = HighScoreEntry{"PRO", score, "01-JAN-2030", 9};
  G.HighScoresLoaded = 1;
}

// What a presented frame of name entry shows.
struct NameFrame {
  bool box = false;
  std::string caption;
  std::string prompt;
  std::string name;
};

class GameOverTest : public ScoresScreenTest {
 protected:
  void SetUp() override {
    ScoresScreenTest::SetUp();
    backend.frameStepMicros = 5000;
    G.CurrentState = StateGameOver;  // the state the game runs it in
  }
  // Records what every presented frame shows at the name-entry places.
  void WatchNameEntry() {
    backend.onPresent = [this](platform::HeadlessBackend& b) {
      NameFrame f;
      f.box = PixelOf(b.lastFrame, 121, 143) == kWhite && PixelOf(b.lastFrame, 518, 336) == kWhite;
      f.caption = ReadLarge(b.lastFrame, 150, 160);
      f.prompt = ReadSmall(b.lastFrame, 150, 190);
      f.name = ReadSmall(b.lastFrame, 150, 230);
      frames.push_back(f);
    };
  }
  int FirstBoxFrame() const {
    for (size_t i = 0; i < frames.size(); ++i)
      if (frames[i].box) return static_cast<int>(i);
    return -1;
  }
  std::vector<NameFrame> frames;
};

}  // namespace

// --- The slide ------------------------------------------------------------

TEST_F(GameOverTest, PictureFallsAtATenthOfAPixelPerMillisecondOverTheFinalBoard) {
  backend.frameStepMicros = 10000;  // 10 ms a frame: 1 pixel a frame
  backend.framesToKeep = {101};
  FullTable(1000);
  G.Score = 5;
  ClearBackBuffer(MakeColour(0, 0, 90));  // the last play frame
  RunGameOver();
  ASSERT_EQ(backend.keptFrames.count(101), 1u);
  // Frame 1 presents the board. The picture is drawn before it moves, and
  // its first move uses the frame time left by play (0 here): frame k + 1
  // shows it at -150 + (k - 2), so frame 101 at -52.
  const Frame& f = backend.keptFrames[101];
  EXPECT_EQ(PixelOf(f, 150, 47), kGameOverPixel);
  EXPECT_EQ(PixelOf(f, 150, 48), 90u);  // the board, blue 90
  EXPECT_EQ(PixelOf(f, 139, 10), 90u);
  // The last frame drawn has it at 199, over the board.
  EXPECT_EQ(PixelOf(LastFrame(), 150, 199), kGameOverPixel);
  EXPECT_EQ(PixelOf(LastFrame(), 150, 198), 90u);
  EXPECT_EQ(backend.framesPresented, 1 + 351);
}

// --- A result below the table ------------------------------------------------

TEST_F(GameOverTest, MissPlaysTheMissSoundDrawsNothingAndShowsTheTableHalfASecondLater) {
  FullTable(1000);
  G.Score = 999;
  int64_t lastPresentMs = 0;
  backend.onPresent = [&lastPresentMs](platform::HeadlessBackend& b) { lastPresentMs = b.NowMs(); };
  RunGameOver();
  EXPECT_EQ(G.CurrentState, StateHighScores);
  EXPECT_GE(TraceIndex("highscore row=0"), 0);
  EXPECT_GE(TraceIndex("sound play \"Sound\\awwww.wav\" loop=0 vol=-1"), 0);
  EXPECT_EQ(TraceCount("HighScore.wav"), 0);
  EXPECT_EQ(TraceCount("highscore save"), 0);
  EXPECT_FALSE(fs::exists(dir.path() / "Data" / "highscore.dat"));
  EXPECT_NE(PixelOf(LastFrame(), 121, 143), kWhite);
  EXPECT_GE(backend.NowMs() - lastPresentMs, 500);
  EXPECT_LE(backend.NowMs() - lastPresentMs, 502);
  for (int row = 1; row <= 10; ++row) EXPECT_EQ(G.HighScoreTable[row].name, "PRO");
}

// --- A result in the table -----------------------------------------------------

TEST_F(GameOverTest, TypedNameEntersTheTableAndTheFile) {
  G.Score = 1234;
  G.Level = 3;
  // Keys are not read while the picture falls (3.5 s): type after it.
  for (int k = 0; k < 6; ++k) Tap(4000 + 300 * k, KeyBackspace);
  Tap(6000, KeyA);
  Tap(6300, KeyB);
  backend.KeyAt(6700, KeyEnter, true);
  WatchNameEntry();
  RunGameOver();

  EXPECT_EQ(G.CurrentState, StateHighScores);
  EXPECT_EQ(G.PlayerName, "AB");
  EXPECT_EQ(G.HighScoreTable[1].name, "AB");
  EXPECT_EQ(G.HighScoreTable[1].score, 1234);
  EXPECT_EQ(G.HighScoreTable[1].date, "12-JUN-2040");
  int row = TraceIndex("highscore row=1");
  int sound = TraceIndex("sound play \"Sound\\HighScore.wav\" loop=0 vol=-1");
  int save = TraceIndex("highscore save ok");
  ASSERT_GE(row, 0);
  EXPECT_GT(sound, row);
  EXPECT_GT(save, sound);

  // The file: the new row, then nine default rows as the table held them.
  std::vector<uint8_t> file = ReadBytes(dir.path() / "Data" / "highscore.dat");
  std::vector<uint8_t> first{2, 'A', 'B', 0xD2, 0x04, 0, 0};
  for (char c : std::string("12-JUN-2040")) first.push_back(static_cast<uint8_t>(c));
  first.insert(first.end(), {3, 0, 0, 0});
  ASSERT_EQ(file.size(), first.size() + 9 * 26);
  EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + static_cast<long>(first.size())), first);
  EXPECT_EQ(file[first.size()], 6);
  EXPECT_EQ(std::string(file.begin() + static_cast<long>(first.size()) + 11, file.begin() + static_cast<long>(first.size()) + 22),
            "01-JAN-2007");

  // The white box shows in the first frame of name entry only; every frame
  // shows the caption and the prompt, the name as it was then.
  int box = FirstBoxFrame();
  ASSERT_GE(box, 0);
  EXPECT_EQ(frames[static_cast<size_t>(box)].caption, "YOU MAKE IT");
  EXPECT_EQ(frames[static_cast<size_t>(box)].prompt, "ENTER YOUR NAME ");
  EXPECT_EQ(frames[static_cast<size_t>(box)].name, "NOBODY");
  for (size_t i = static_cast<size_t>(box) + 1; i < frames.size(); ++i) {
    ASSERT_FALSE(frames[i].box) << i;
    ASSERT_EQ(frames[i].caption, "YOU MAKE IT") << i;
  }
  // The last frame (Return) draws no name.
  EXPECT_EQ(frames.back().name, "");
  EXPECT_EQ(frames[frames.size() - 2].name, "AB");
  bool sawEmpty = false;
  for (const NameFrame& f : frames) sawEmpty = sawEmpty || (f.caption == "YOU MAKE IT" && f.name.empty());
  EXPECT_TRUE(sawEmpty);  // after the sixth Backspace
}

// --- Name entry ----------------------------------------------------------------

TEST_F(GameOverTest, ReturnHeldAtTheStartEndsEntryOnTheFirstFrame) {
  backend.KeyAt(0, KeyEnter, true);
  EXPECT_EQ(EnterPlayerName(), "NOBODY");
  EXPECT_EQ(backend.framesPresented, 1);
  EXPECT_EQ(ReadSmall(LastFrame(), 150, 230), "");  // the name is not drawn then

  G.PlayerName = "ZED";  // a previous player's name is offered again
  EXPECT_EQ(EnterPlayerName(), "ZED");
}

TEST_F(GameOverTest, TypedLettersAreUpperCasedAndANinthIsIgnored) {
  G.PlayerName = "X";
  Tap(10, KeyBackspace);
  Tap(300, KeyA);
  Tap(600, KeyB);
  backend.KeyAt(900, KeyEnter, true);
  EXPECT_EQ(EnterPlayerName(), "AB");

  G.PlayerName = "ABCDEFGH";
  G.NameKeyTime = 0;
  int64_t start = backend.NowMs();
  Tap(start + 10, KeyI);
  backend.KeyAt(start + 300, KeyEnter, true);
  EXPECT_EQ(EnterPlayerName(), "ABCDEFGH");
  EXPECT_EQ(G.NameKeyTime, 0);  // nothing accepted, the gate stayed open
}

TEST_F(GameOverTest, KeysLetGoTogetherNeverGrowTheNamePastEight) {
  G.PlayerName = "ABCDEF";
  for (int key : {KeyQ, KeyW, KeyE, KeyR, KeyT}) {
    backend.KeyAt(100, key, true);
    backend.KeyAt(150, key, false);
  }
  backend.KeyAt(600, KeyEnter, true);
  EXPECT_EQ(EnterPlayerName(), "ABCDEFQW");
}

TEST_F(GameOverTest, ABackspaceLetGoWithADigitNeverLandsInTheName) {
  // Digit 1 (KeyCode 2) comes before Backspace (14) in one call: "1\b".
  G.PlayerName = "AB";
  backend.KeyAt(100, 2, true);
  backend.KeyAt(100, KeyBackspace, true);
  backend.KeyAt(150, 2, false);
  backend.KeyAt(150, KeyBackspace, false);
  backend.KeyAt(600, KeyEnter, true);
  EXPECT_EQ(EnterPlayerName(), "AB1");
}

TEST_F(GameOverTest, BackspaceOnAnEmptyNameShutsNoGate) {
  G.PlayerName = "A";
  Tap(100, KeyBackspace);  // "A" -> "", the gate shuts until about 380
  Tap(600, KeyBackspace);  // nothing to delete: the gate stays open
  Tap(660, KeyA);          // so this lands at once
  backend.KeyAt(700, KeyEnter, true);
  EXPECT_EQ(EnterPlayerName(), "A");
  EXPECT_GT(G.NameKeyTime, 690);
  EXPECT_LT(G.NameKeyTime, 700 + 250);
}

TEST_F(GameOverTest, KeyLetGoWhileTheGateIsShutCountsWhenItOpens) {
  G.PlayerName = "";
  Tap(100, KeyBackspace);  // "NOBODY" -> "NOBOD" at about 130, gate shut to 380
  Tap(200, KeyBackspace);  // pressed and let go entirely while shut: never seen
  backend.KeyAt(300, KeyA, true);  // held as the gate opens: counts when let go
  backend.KeyAt(420, KeyA, false);
  backend.KeyAt(800, KeyEnter, true);
  EXPECT_EQ(EnterPlayerName(), "NOBODA");
}

// --- Back from the exit dialog ---------------------------------------------------

TEST_F(GameOverTest, ReturningFromTheExitDialogDoesNotEnterTheGameTwice) {
  backend.frameStepMicros = 20000;  // 2 pixels a frame
  G.Score = 500;
  G.Level = 2;
  // The closing wait is left as the attract screens are: Escape wins over
  // Space, and the exit dialog will come back to the game over.
  backend.KeyAt(0, KeyEnter, true);
  backend.KeyAt(0, KeySpace, true);
  backend.KeyAt(0, KeyEscape, true);
  RunGameOver();
  ASSERT_EQ(G.CurrentState, StateConfirmExit);
  EXPECT_EQ(G.SavedState, StateGameOver);
  std::vector<uint8_t> saved = ReadBytes(dir.path() / "Data" / "highscore.dat");
  ASSERT_EQ(TraceCount("highscore save ok"), 1);

  // "No" in the dialog: back to the game over, which slides again and then
  // only waits; Escape again, and "No" once more.
  for (int pass = 0; pass < 2; ++pass) {
    G.CurrentState = G.SavedState;
    int64_t framesBefore = backend.framesPresented;
    RunGameOver();
    EXPECT_EQ(G.CurrentState, StateConfirmExit);
    EXPECT_GT(backend.framesPresented - framesBefore, 170);  // the slide ran
  }
  backend.KeyAt(backend.NowMs(), KeyEscape, false);
  G.CurrentState = G.SavedState;
  RunGameOver();
  EXPECT_EQ(G.CurrentState, StateGetReady);  // Space, still held

  EXPECT_EQ(TraceCount("highscore row="), 1);
  EXPECT_EQ(TraceCount("highscore save"), 1);
  EXPECT_EQ(TraceCount("sound play"), 1);
  EXPECT_EQ(ReadBytes(dir.path() / "Data" / "highscore.dat"), saved);
  int rowsWith500 = 0;
  for (int row = 1; row <= 10; ++row) rowsWith500 += G.HighScoreTable[row].score == 500 ? 1 : 0;
  EXPECT_EQ(rowsWith500, 1);

  // The next game's end is entered as usual.
  G.CurrentState = StateGameOver;
  RunGameOver();
  EXPECT_EQ(TraceCount("highscore row="), 2);
}
