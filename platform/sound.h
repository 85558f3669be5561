// Loaded sounds played once or looped through our own mixer.
#pragma once

#include <string>

using SoundId = int;

int StartSoundSystem();
SoundId LoadSoundFile(const std::string& path);
int PlaySoundId(SoundId sound, int loop, int volume);
void StopSoundId(SoundId sound);
void StopSoundSystem();

namespace platform {
// Hundredths of a decibel of attenuation for a volume in percent (0..100,
// clamped): 0 for 100, -10000 (silence) for 0.
int VolumeToAttenuation(int volume);
}  // namespace platform
