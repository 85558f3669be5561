// Placeholder until the mixer lands: the device starts, nothing loads.
#include "platform/sound.h"

#include "platform/backend.h"

namespace {
bool started = false;
}

int StartSoundSystem() {
  if (started) return 1;
  platform::AudioFormat format;
  if (!platform::CurrentBackend().StartAudio(format, nullptr)) return 0;
  started = true;
  return 1;
}

SoundId LoadSoundFile(const std::string&) { return 0; }
int PlaySoundId(SoundId, int, int) { return 0; }
void StopSoundId(SoundId) {}

void StopSoundSystem() {
  if (!started) return;
  platform::CurrentBackend().StopAudio();
  started = false;
}

namespace platform {
int VolumeToAttenuation(int) { return 0; }
void ResetSoundState() { started = false; }
}  // namespace platform
