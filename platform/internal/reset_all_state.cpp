#include "platform/internal/state_reset.h"

#include "platform/process.h"

namespace platform {

void ResetAllPlatformState() {
  ResetSoundState();
  ResetInputState();
  ResetImageState();
  ResetScreenState();
  ResetTimingState();
  RequestStop(0);
}

}  // namespace platform
