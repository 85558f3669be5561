#include "platform/platform_state.h"

#include "platform/image.h"
#include "platform/input.h"
#include "platform/process.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "platform/timing.h"

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
