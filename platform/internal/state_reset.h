// Below the game-facing API, for tests and the scenario runner: putting the
// platform services back to "never started", and the generator's raw step.
#pragma once

#include <cstdint>

namespace platform {

// Every service at once (reset_all_state.cpp); tests call it between cases.
void ResetAllPlatformState();

void ResetScreenState();
void ResetImageState();
void ResetInputState();
void ResetSoundState();
void ResetTimingState();

// One raw step of the game's generator (seeding it first if needed).
uint32_t RandomStep();

// What a recorded game needs to start again exactly where it started: the
// clock's origin, the generator's state and the input service's latches.
struct TimingCopy {
  bool clockStarted = false;
  int64_t originMicros = 0;
  bool seeded = false;
  uint32_t A[17] = {};
  uint32_t B[17] = {};
  int i = 0;
  int j = 0;
};
TimingCopy CopyTimingState();
void RestoreTimingState(const TimingCopy& copy);

struct InputCopy {
  int keyboardState = 0;
  uint8_t snapshot[256] = {};
  bool releaseLatch[256] = {};
  bool typedLatch[256] = {};
  int mouseX = 0;
  int mouseY = 0;
  int buttons[4] = {};
  int acquireState = 1;
};
InputCopy CopyInputState();
// Keeps the service's started flags: only the latches and positions move.
void RestoreInputState(const InputCopy& copy);

}  // namespace platform
