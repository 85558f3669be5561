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

}  // namespace platform
