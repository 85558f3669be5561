#include "platform/internal/state_reset.h"

namespace platform {

void ResetAllPlatformState() {
  ResetSoundState();
  ResetInputState();
  ResetImageState();
  ResetScreenState();
  ResetTimingState();
}

}  // namespace platform
