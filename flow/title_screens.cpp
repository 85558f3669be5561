// The three attract screens of this file: the rippling title, the jewel
// fountain over the title picture and the how-to picture. The high-score
// table, the fourth screen of the cycle, lives elsewhere.
#include "flow/title_screens.h"

#include <cmath>
#include <cstdint>

#include "flow/game_clock.h"
#include "flow/globals.h"
#include "flow/leave_by_key.h"
#include "platform/image.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "platform/timing.h"

namespace {

constexpr int kPictureRows = 480;
constexpr int kPictureWidth = 640;
constexpr float kWaveStartAmplitude = 20.0f;
constexpr int32_t kParticleShowMs = 30000;
constexpr int32_t kHowToMs = 20000;

}  // namespace

void RunTitle() {
  StartTitleMusic();
  PlayTitleWave();
}

void StartTitleMusic() {
  StopSoundId(G.PlayMusic);
  PlaySoundId(G.TitleMusic, 1, G.MusicVolume);
}

// Each row is drawn shifted sideways by A * sin(phase), the phase moving a
// quarter radian per row and running on from frame to frame, so the ripple
// travels while the amplitude dies away half a pixel per frame. Whatever a
// row's shift uncovers stays black. A wave cut short by a key keeps its
// amplitude, so the next title goes on from where this one stopped.
void PlayTitleWave() {
  float phase = 0.0f;
  do {
    ClearBackBuffer(G.ColourBlack);
    // One strip per picture row, each drawn in a session of its own; the
    // platform keeps these short-lived images cheap.
    for (int r = 0; r < kPictureRows; ++r) {
      ImageId strip = CutImage(G.MainScreenImage, 0, r, kPictureWidth, 1);
      int offset = RoundHalfEven(std::sin(static_cast<double>(phase)) * static_cast<double>(G.WaveAmplitude));
      if (BeginScreenDrawing() != 0) {
        BlitImage(strip, offset, r);
        EndScreenDrawing();
      }
      ReleaseImage(strip);
      phase += 0.25f;
    }
    FlipFrame();
    G.WaveAmplitude -= 0.5f;
    if (LeaveScreenByKey()) return;
  } while (G.WaveAmplitude > 0.0f);
  G.CurrentState = StateAttract;
  G.WaveAmplitude = kWaveStartAmplitude;
}

void RunAttract() {
  SpawnAllParticles();
  RunParticleShow();
}

void SpawnAllParticles() {
  for (int i = 1; i <= 60; ++i) SpawnParticle(i);
}

// Every jewel starts at the bottom centre of the title picture; the three
// random draws are made in this order so a seeded run repeats exactly.
void SpawnParticle(int i) {
  if (i < 1 || i > 60) return;
  AttractParticle& p = G.Particles[i];
  double sideways = static_cast<double>(RandomRange(200, 1));
  p.dx = static_cast<float>((sideways - 100.0) / 1000.0);
  p.dy = G.ParticleRise;
  p.x = 320.0f;
  p.y = 450.0f;
  double extra = static_cast<double>(RandomRange(100, 1));
  p.speed = static_cast<float>(static_cast<double>(G.ParticleRise) + extra / 700.0);
  p.kind = static_cast<int32_t>(RandomRange(6, 1));
}

// Jewels rise and drift outward by a fixed step per frame; one that has left
// through the top or either side (or never started) begins again at the
// bottom and moves in the same pass. Nothing leaves through the bottom.
void RunParticleShow() {
  GameTimeMs deadline = DeadlineIn(kParticleShowMs);
  for (;;) {
    for (int i = 1; i <= 60; ++i) {
      AttractParticle& p = G.Particles[i];
      if (p.x < -32.0f || p.x > 640.0f || p.y < -32.0f || p.kind == 0) SpawnParticle(i);
      // A jewel without sideways drift goes left.
      if (p.dx > 0.0f) {
        p.x = p.x + p.dx + p.speed;
      } else {
        p.x = p.x + p.dx - p.speed;
      }
      p.y = p.y - p.dy - p.speed;
      if (LeaveScreenByKey()) return;
    }
    DrawParticleFrame();
    if (ClockIsPast(deadline)) {
      G.CurrentState = StateHighScores;
      return;
    }
  }
}

// The jewel cells are copied whole, background included, in particle order.
void DrawParticleFrame() {
  ClearBackBuffer(G.ColourBlack);
  if (BeginScreenDrawing()) {
    BlitImage(G.MainScreenImage, 0, 0);
    for (int i = 1; i <= 60; ++i) {
      const AttractParticle& p = G.Particles[i];
      if (p.kind < 0 || p.kind > 6) continue;
      BlitImage(G.JewelImages[p.kind], RoundHalfEven(p.x), RoundHalfEven(p.y));
    }
    EndScreenDrawing();
  }
  FlipFrame();
}

// One frame, then only the keyboard is watched until the time is up.
void RunHowTo() {
  GameTimeMs deadline = DeadlineIn(kHowToMs);
  ClearBackBuffer(G.ColourBlack);
  if (BeginScreenDrawing()) {
    BlitImage(G.HowToImage, 0, 0);
    EndScreenDrawing();
  }
  FlipFrame();
  for (;;) {
    if (LeaveScreenByKey()) return;
    if (ClockIsPast(deadline)) {
      G.CurrentState = StateTitle;
      return;
    }
  }
}
