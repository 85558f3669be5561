// The title wave, the jewel fountain and the how-to picture, run against
// small pictures and sounds made here, on the headless backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "flow/globals.h"
#include "flow/main_loop.h"
#include "flow/startup.h"
#include "flow/title_screens.h"
#include "platform/bitmap_file.h"
#include "platform/input.h"
#include "platform/keycodes.h"
#include "platform/timing.h"
#include "tests/platform/wave_builder.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;
using platform::HeadlessBackend;

namespace {

// Title picture: every pixel names its own column and row and none is black,
// so a shifted row can be read back and an uncovered pixel told apart.
uint32_t TitlePixel(int x, int r) {
  return (static_cast<uint32_t>(x & 0xFF) << 16) | (static_cast<uint32_t>(r & 0xFF) << 8) |
         (0x40u | static_cast<uint32_t>(x >> 8));
}

// Jewel cells: cell k is filled with its own colour, except its top-left
// pixel, which is black like the real cells' backgrounds.
uint32_t JewelColour(int kind) { return 0x00102030u + 0x00200000u * static_cast<uint32_t>(kind); }

constexpr uint32_t kHowToColour = 0x00336699u;

void WriteBmp(const std::string& name, const std::vector<uint32_t>& pixels, int w, int h) {
  fs::create_directories("graphics");
  ASSERT_TRUE(platform::WriteBitmap24("graphics/" + name, pixels.data(), w, h));
}

// A short, silent 8-bit mono wave file.
void WriteWave(const std::string& name) {
  WriteBytes(fs::path("Sound") / name, testwave::Wave8(testwave::Bytes(64, 128)));
}

class AttractScreens : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    std::vector<uint32_t> title(640 * 480);
    for (int r = 0; r < 480; ++r)
      for (int x = 0; x < 640; ++x) title[static_cast<size_t>(r) * 640 + x] = TitlePixel(x, r);
    WriteBmp("MainScreen.bmp", title, 640, 480);
    std::vector<uint32_t> jewels(224 * 32);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 224; ++x)
        jewels[static_cast<size_t>(y) * 224 + x] = (x % 32 == 0 && y == 0) ? 0 : JewelColour(x / 32);
    WriteBmp("Jewels.bmp", jewels, 224, 32);
    WriteBmp("HowTo.bmp", std::vector<uint32_t>(640 * 480, kHowToColour), 640, 480);
    WriteWave("Stakko.wav");
    WriteWave("Nu Battle.wav");
    StartUp();
  }

  uint32_t Shown(int x, int y) const { return backend.lastFrame[static_cast<size_t>(y) * 640 + x]; }

  // Empty when the last frame is the title picture with row r shifted by
  // round(A sin(120 f + 0.25 r)), black where a row's shift uncovers.
  std::string WaveMismatch(int f, double amplitude) const {
    for (int r = 0; r < 480; ++r) {
      int shift = static_cast<int>(std::nearbyint(amplitude * std::sin(120.0 * f + 0.25 * r)));
      std::string where = "frame " + std::to_string(f) + " row " + std::to_string(r) + " shift " +
                          std::to_string(shift);
      for (int x : {0, 319, 639}) {
        int source = x - shift;
        uint32_t want = (source < 0 || source > 639) ? 0u : TitlePixel(source, r);
        if (Shown(x, r) != want) return where + " x " + std::to_string(x);
      }
      if (shift > 0 && (Shown(shift - 1, r) != 0 || Shown(shift, r) != TitlePixel(0, r))) return where + " left";
      if (shift < 0 && (Shown(640 + shift, r) != 0 || Shown(639 + shift, r) != TitlePixel(639, r)))
        return where + " right";
    }
    return "";
  }

  // Counts the wave frames and checks each against amplitude start - f / 2.
  void CheckWaveFrames(double start, int& frames, std::string& firstMismatch) {
    frames = 0;
    firstMismatch.clear();
    backend.onPresent = [this, start, &frames, &firstMismatch](HeadlessBackend&) {
      if (firstMismatch.empty()) firstMismatch = WaveMismatch(frames, start - 0.5 * frames);
      ++frames;
    };
  }

  int CountTrace(const std::string& text) const {
    int n = 0;
    for (const std::string& line : backend.traceLines) n += line.find(text) != std::string::npos;
    return n;
  }

  // Clicks "No" over the dialog's next frames, letting go of Escape first.
  void AnswerNoWhenAsked() {
    dialogFrames_ = 0;
    backend.onPresent = [this](HeadlessBackend& b) {
      if (G.CurrentState != StateConfirmExit) return;
      ++dialogFrames_;
      if (dialogFrames_ == 1) {
        b.SetKey(KeyEscape, false);
        b.MoveMouse(250 - MousePosX(), 260 - MousePosY());
        b.SetButton(1, true);
      } else if (dialogFrames_ == 2) {
        b.SetButton(1, false);
      }
    };
  }

  ScopedWorkDir dir_;
  int dialogFrames_ = 0;
};

template <typename F>
bool StopsTheRun(F&& run) {
  try {
    run();
  } catch (const platform::RunStopped&) {
    return true;
  }
  return false;
}

// ---------------------------------------------------------------- title wave

TEST_F(AttractScreens, TitleWaveRunsFortyFramesThenTheParticles) {
  ASSERT_NE(G.MainScreenImage, 0) << "the title picture did not load";
  G.CurrentState = StateTitle;
  int frames = 0;
  std::string mismatch;
  CheckWaveFrames(20.0, frames, mismatch);
  RunTitle();
  EXPECT_EQ(frames, 40);
  EXPECT_EQ(mismatch, "");
  EXPECT_EQ(G.CurrentState, StateAttract);
  EXPECT_EQ(G.WaveAmplitude, 20.0f);  // reset only because the wave ended by itself

  // A wave left at its last step runs one frame. (One left earlier goes on
  // from where it was: below, and in tests/whole_runs/attract_cycle_test.cpp.)
  G.WaveAmplitude = 0.5f;
  G.CurrentState = StateTitle;
  CheckWaveFrames(0.5, frames, mismatch);
  RunTitle();
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(mismatch, "");
  EXPECT_EQ(G.WaveAmplitude, 20.0f);
}

TEST_F(AttractScreens, EscapeOnTitleThenNoRestartsMusicAndKeepsTheWave) {
  G.CurrentState = StateTitle;
  int frames = 0;
  backend.onPresent = [&](HeadlessBackend& b) {
    if (++frames == 5) b.SetKey(KeyEscape, true);
  };
  RunCurrentState();
  ASSERT_EQ(G.CurrentState, StateConfirmExit);
  EXPECT_EQ(G.SavedState, StateTitle);
  EXPECT_EQ(G.WaveAmplitude, 17.5f);
  EXPECT_EQ(CountTrace("sound play \"Sound\\Stakko.wav\" loop=1 vol=50"), 1);

  AnswerNoWhenAsked();
  RunCurrentState();
  ASSERT_EQ(G.CurrentState, StateTitle);
  EXPECT_EQ(dialogFrames_, 3);

  std::string mismatch;
  CheckWaveFrames(17.5, frames, mismatch);
  RunCurrentState();
  EXPECT_EQ(frames, 35);
  EXPECT_EQ(mismatch, "");
  // Each title start stops the play music and starts the title music again.
  EXPECT_EQ(CountTrace("sound play \"Sound\\Stakko.wav\" loop=1 vol=50"), 2);
  EXPECT_EQ(CountTrace("sound stop \"Sound\\Nu Battle.wav\""), 2);
}

// ------------------------------------------------------------- the leave keys

TEST_F(AttractScreens, EscapeWinsOverSpaceOnEveryScreen) {
  for (ScreenState screen : {StateTitle, StateAttract, StateHowTo}) {
    SCOPED_TRACE(screen);
    backend.SetKey(KeySpace, true);
    backend.SetKey(KeyEscape, true);
    G.CurrentState = screen;
    G.SavedState = 0;
    RunCurrentState();
    EXPECT_EQ(G.CurrentState, StateConfirmExit);
    EXPECT_EQ(G.SavedState, screen);

    backend.SetKey(KeyEscape, false);
    G.CurrentState = screen;
    G.SavedState = 0;
    RunCurrentState();
    EXPECT_EQ(G.CurrentState, StateGetReady);
    EXPECT_EQ(G.SavedState, 0);
    backend.SetKey(KeySpace, false);
  }
}

// ----------------------------------------------------------------- particles

TEST_F(AttractScreens, SpawningDrawsSidewaysThenSpeedThenKind) {
  RandomSeed(99);
  SpawnAllParticles();
  RandomSeed(99);
  for (int i = 1; i <= 60; ++i) {
    SCOPED_TRACE(i);
    uint32_t sideways = RandomRange(200, 1);
    uint32_t extra = RandomRange(100, 1);
    uint32_t kind = RandomRange(6, 1);
    const AttractParticle& p = G.Particles[i];
    EXPECT_FLOAT_EQ(p.dx, (static_cast<float>(sideways) - 100.0f) / 1000.0f);
    EXPECT_FLOAT_EQ(p.speed, 0.015f + static_cast<float>(extra) / 700.0f);
    EXPECT_EQ(p.kind, static_cast<int32_t>(kind));
    EXPECT_EQ(p.dy, 0.015f);
    EXPECT_EQ(p.x, 320.0f);
    EXPECT_EQ(p.y, 450.0f);
    EXPECT_GE(p.dx, -0.0991f);
    EXPECT_LE(p.dx, 0.1001f);
    EXPECT_GE(p.speed, 0.0164f);
    EXPECT_LE(p.speed, 0.1579f);
  }
  EXPECT_EQ(G.Particles[0].kind, 0);  // entry 0 is never used
}

TEST_F(AttractScreens, ParticlesMoveAndRespawnByTheEdgeTests) {
  for (int i = 1; i <= 60; ++i) G.Particles[i] = {1, 0.01f, 0.015f, 100.0f, 100.0f, 0.02f};
  AttractParticle& still = G.Particles[1];  // no sideways drift
  still = {2, 0.0f, 0.015f, 200.0f, 200.0f, 0.05f};
  AttractParticle& right = G.Particles[2];
  right = {3, 0.05f, 0.015f, 640.0f, 100.0f, 0.02f};
  AttractParticle& left = G.Particles[3];
  left = {3, -0.05f, 0.015f, -32.0f, 100.0f, 0.02f};
  AttractParticle& top = G.Particles[4];
  top = {4, 0.01f, 0.015f, 100.0f, -32.0f, 0.02f};
  AttractParticle& gone = G.Particles[5];
  gone = {4, 0.01f, 0.015f, 100.0f, -32.5f, 0.02f};
  AttractParticle& unborn = G.Particles[6];
  unborn = {0, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
  AttractParticle& low = G.Particles[7];  // below the screen: nothing tests the bottom
  low = {5, 0.01f, 0.015f, 100.0f, 1000.0f, 0.02f};

  backend.stopAfterFrames = backend.framesPresented + 1;
  EXPECT_TRUE(StopsTheRun([] { RunParticleShow(); }));

  EXPECT_FLOAT_EQ(still.x, 200.0f - 0.05f);  // drifts left by its speed
  EXPECT_FLOAT_EQ(still.y, 200.0f - 0.015f - 0.05f);
  EXPECT_FLOAT_EQ(right.x, 640.0f + 0.05f + 0.02f);  // exactly 640 is still on
  EXPECT_FLOAT_EQ(left.x, -32.0f - 0.05f - 0.02f);
  EXPECT_FLOAT_EQ(top.y, -32.0f - 0.015f - 0.02f);
  EXPECT_FLOAT_EQ(low.y, 1000.0f - 0.015f - 0.02f);
  // Respawned at the fountain's foot and moved in the same pass.
  for (const AttractParticle* p : {&gone, &unborn}) {
    EXPECT_GE(p->kind, 1);
    EXPECT_NEAR(p->x, 320.0f, 0.26f);
    EXPECT_NEAR(p->y, 450.0f - 0.015f - p->speed, 1e-4f);
  }

  backend.stopAfterFrames = backend.framesPresented + 1;
  EXPECT_TRUE(StopsTheRun([] { RunParticleShow(); }));
  for (const AttractParticle* p : {&right, &left, &top}) {
    EXPECT_NEAR(p->x, 320.0f, 0.26f);
    EXPECT_NEAR(p->y, 450.0f - 0.015f - p->speed, 1e-4f);
  }
}

TEST_F(AttractScreens, KeysAreReadAfterEveryParticleAndALeaveStopsThePass) {
  RandomSeed(5);
  SpawnAllParticles();
  backend.stopAfterFrames = backend.framesPresented + 1;
  int reads = backend.keyboardReads;
  EXPECT_TRUE(StopsTheRun([] { RunParticleShow(); }));
  EXPECT_EQ(backend.keyboardReads - reads, 60);

  // Space comes down at the fifth read of the next pass.
  AttractParticle before[61];
  std::copy(std::begin(G.Particles), std::end(G.Particles), before);
  backend.pollStepMicros = 1000;
  backend.AddEvent({backend.now + 5000, platform::ScriptEvent::Kind::Key, KeySpace, 0, true});
  int64_t frames = backend.framesPresented;
  reads = backend.keyboardReads;
  RunParticleShow();
  EXPECT_EQ(G.CurrentState, StateGetReady);
  EXPECT_EQ(backend.keyboardReads - reads, 5);
  EXPECT_EQ(backend.framesPresented, frames);  // left before drawing
  for (int i = 1; i <= 60; ++i) {
    bool moved = G.Particles[i].y != before[i].y;
    EXPECT_EQ(moved, i <= 5) << i;
  }
}

TEST_F(AttractScreens, ParticlesAreDrawnOpaquelyInOrderOverTheTitle) {
  for (int i = 1; i <= 60; ++i) G.Particles[i] = {1, 0.0f, 0.0f, -500.0f, -500.0f, 0.0f};
  G.Particles[10] = {2, 0.0f, 0.0f, 100.5f, 50.0f, 0.0f};  // halves go to even: 100
  G.Particles[11] = {3, 0.0f, 0.0f, 101.5f, 60.0f, 0.0f};  // 102
  G.Particles[5] = {6, 0.0f, 0.0f, 300.0f, 300.0f, 0.0f};
  G.Particles[12] = {4, 0.0f, 0.0f, 299.6f, 300.4f, 0.0f};  // covers particle 5 exactly
  DrawParticleFrame();

  EXPECT_EQ(Shown(99, 55), TitlePixel(99, 55));
  EXPECT_EQ(Shown(100, 50), 0u);  // the cell's black corner is copied too
  EXPECT_EQ(Shown(101, 65), JewelColour(2));
  EXPECT_EQ(Shown(102, 60), 0u);
  EXPECT_EQ(Shown(102, 65), JewelColour(3));  // the later particle is on top
  EXPECT_EQ(Shown(133, 65), JewelColour(3));
  EXPECT_EQ(Shown(134, 65), TitlePixel(134, 65));
  EXPECT_EQ(Shown(110, 85), JewelColour(3));
  EXPECT_EQ(Shown(101, 85), TitlePixel(101, 85));

  EXPECT_EQ(Shown(300, 300), 0u);
  EXPECT_EQ(Shown(301, 301), JewelColour(4));
  EXPECT_EQ(Shown(331, 331), JewelColour(4));
  EXPECT_EQ(Shown(332, 331), TitlePixel(332, 331));
  EXPECT_EQ(Shown(0, 479), TitlePixel(0, 479));
}

TEST_F(AttractScreens, TheSameSeedRepeatsTheAnimationExactly) {
  struct Run {
    std::vector<uint32_t> trail;  // every particle field of every frame, as bits
    std::vector<uint32_t> lastFrame;
    int respawns = 0;
  };
  auto run = [this](uint32_t seed) {
    Run out;
    RandomSeed(seed);
    SpawnAllParticles();
    // Started just below the top edge, every jewel leaves within the first
    // few dozen frames and is respawned with fresh random values.
    for (int i = 1; i <= 60; ++i) G.Particles[i].y = -31.0f;
    float lastY[61] = {};
    backend.onPresent = [&](HeadlessBackend&) {
      for (int i = 1; i <= 60; ++i) {
        const AttractParticle& p = G.Particles[i];
        uint32_t bits[5];
        std::memcpy(&bits[0], &p.dx, 4);
        std::memcpy(&bits[1], &p.x, 4);
        std::memcpy(&bits[2], &p.y, 4);
        std::memcpy(&bits[3], &p.speed, 4);
        bits[4] = static_cast<uint32_t>(p.kind);
        out.trail.insert(out.trail.end(), bits, bits + 5);
        if (p.y > lastY[i] + 100.0f) ++out.respawns;
        lastY[i] = p.y;
      }
    };
    backend.stopAfterFrames = backend.framesPresented + 300;
    EXPECT_TRUE(StopsTheRun([] { RunParticleShow(); }));
    out.lastFrame = backend.lastFrame;
    return out;
  };
  Run first = run(2024);
  Run again = run(2024);
  Run other = run(7);
  EXPECT_EQ(first.respawns, 60);
  EXPECT_TRUE(first.trail == again.trail);
  EXPECT_TRUE(first.lastFrame == again.lastFrame);
  EXPECT_FALSE(first.trail == other.trail);
}

// -------------------------------------------------------------------- how-to

TEST_F(AttractScreens, SpaceHeldAsHowToAppearsStartsAGameAtOnce) {
  backend.SetKey(KeySpace, true);
  G.CurrentState = StateHowTo;
  int reads = backend.keyboardReads;
  RunHowTo();
  EXPECT_EQ(G.CurrentState, StateGetReady);
  EXPECT_EQ(backend.framesPresented, 1);
  EXPECT_EQ(backend.keyboardReads - reads, 1);
  EXPECT_EQ(Shown(320, 240), kHowToColour);
}

TEST_F(AttractScreens, EscapeOnHowToThenNoShowsItAgainForAFullTwentySeconds) {
  backend.pollStepMicros = 1000;
  G.CurrentState = StateHowTo;
  backend.AddEvent({backend.now + 5'000'000, platform::ScriptEvent::Kind::Key, KeyEscape, 0, true});
  AnswerNoWhenAsked();
  RunCurrentState();
  ASSERT_EQ(G.CurrentState, StateConfirmExit);
  EXPECT_EQ(G.SavedState, StateHowTo);
  RunCurrentState();
  ASSERT_EQ(G.CurrentState, StateHowTo);

  int64_t back = ElapsedMs();
  int64_t frames = backend.framesPresented;
  RunCurrentState();
  EXPECT_EQ(G.CurrentState, StateTitle);
  EXPECT_EQ(backend.framesPresented, frames + 1);
  EXPECT_EQ(Shown(100, 100), kHowToColour);
  int64_t took = ElapsedMs() - back;
  EXPECT_GT(took, 20000);
  EXPECT_LE(took, 20002);
}

// The 32-bit millisecond clock wraps after about 24 days of running; a
// deadline set just before the wrap lies past it, and both timed screens
// still last their full time.
TEST_F(AttractScreens, TimedScreensLastTheirTimeAcrossTheClocksWrap) {
  backend.pollStepMicros = 1000;
  // Forward to the next moment the 32-bit clock reads 5 s before its wrap.
  auto nearWrap = [&] {
    constexpr int64_t kLap = int64_t{1} << 32;
    backend.now += ((int64_t{INT32_MAX} - 5000 - ElapsedMs()) % kLap + kLap) % kLap * 1000;
  };

  nearWrap();
  G.CurrentState = StateHowTo;
  int64_t start = ElapsedMs();
  RunHowTo();
  EXPECT_EQ(G.CurrentState, StateTitle);
  EXPECT_GT(ElapsedMs() - start, 20000);
  EXPECT_LE(ElapsedMs() - start, 20002);

  nearWrap();
  G.CurrentState = StateAttract;
  start = ElapsedMs();
  RunAttract();
  EXPECT_EQ(G.CurrentState, StateHighScores);
  EXPECT_GT(ElapsedMs() - start, 30000);
  EXPECT_LE(ElapsedMs() - start, 30000 + 62);  // one frame: 60 key reads and a flip
}

}  // namespace
