#include "platform/internal/state_reset.h"

#include "platform/calendar.h"
#include "platform/internal/stop_signal.h"

namespace platform {

void ResetAllPlatformState() {
  ResetSoundState();
  ResetInputState();
  ResetImageState();
  ResetScreenState();
  ResetTimingState();
  SetCalendarDateForReplay(std::nullopt);
  RequestStop(0);
  RequestEnd(-1);
}

}  // namespace platform
