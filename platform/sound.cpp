// Sounds loaded whole at start-up and played through our mixer: one playback
// per sound (a new play restarts it), once or looped, at a volume in percent.
#include "platform/sound.h"

#include <cmath>
#include <memory>
#include <vector>

#include "platform/backend.h"
#include "platform/internal/state_reset.h"
#include "platform/files.h"
#include "platform/mixer.h"
#include "platform/trace.h"
#include "platform/wave_file.h"

namespace {

struct SoundSystem {
  bool started = false;
  std::unique_ptr<platform::Mixer> mixer;
  std::vector<std::string> names;  // by SoundId - 1, as the game named them
};
SoundSystem sound;

// Attenuation in hundredths of a decibel plus 10000, by volume in percent:
// 2000 log10(1000 v) truncated, so 20 log10(v / 100) dB below full level.
struct VolumeTable {
  int entry[101];
  VolumeTable() {
    entry[0] = 0;
    for (int v = 1; v <= 99; ++v) entry[v] = static_cast<int>(2000.0 * std::log10(1000.0 * v));
    entry[100] = 10000;
  }
};
const VolumeTable volumeTable;

const std::string* NameOf(SoundId id) {
  if (!sound.started || id < 1 || id > static_cast<int>(sound.names.size())) return nullptr;
  return &sound.names[static_cast<size_t>(id - 1)];
}

}  // namespace

int StartSoundSystem() {
  if (sound.started) return 1;
  platform::AudioFormat format;
  auto mixer = std::make_unique<platform::Mixer>(format);
  if (!platform::CurrentBackend().StartAudio(format, mixer.get())) return 0;
  // Sounds are converted to what the device settled on; none is loaded yet.
  mixer->SetOutput(format);
  sound.mixer = std::move(mixer);
  sound.names.clear();
  sound.started = true;
  return 1;
}

SoundId LoadSoundFile(const std::string& path) {
  if (!sound.started) return 0;
  auto bytes = platform::ReadWholeFile(path, platform::kMaxWaveFileBytes);
  if (!bytes) return 0;
  auto wave = platform::FindWaveFrames(bytes->data(), bytes->size());
  if (!wave) return 0;
  int id = sound.mixer->AddSound(*wave);
  if (id == 0) return 0;
  sound.names.resize(static_cast<size_t>(id));
  sound.names[static_cast<size_t>(id - 1)] = path;
  return id;
}

int PlaySoundId(SoundId id, int loop, int volume) {
  const std::string* name = NameOf(id);
  if (name == nullptr) return 0;
  TraceEvent("sound play \"" + *name + "\" loop=" + (loop != 0 ? "1" : "0") + " vol=" + std::to_string(volume));
  int32_t gain = volume == -1 ? -1 : platform::Mixer::GainForAttenuation(platform::VolumeToAttenuation(volume));
  return sound.mixer->Play(id, loop != 0, gain) ? 1 : 0;
}

void StopSoundId(SoundId id) {
  const std::string* name = NameOf(id);
  if (name == nullptr) return;
  TraceEvent("sound stop \"" + *name + "\"");
  sound.mixer->Stop(id);
}

void StopSoundSystem() {
  if (!sound.started) return;
  // The device stops pulling before the mixer it pulls from goes away.
  platform::CurrentBackend().StopAudio();
  sound = SoundSystem{};
}

namespace platform {

int VolumeToAttenuation(int volume) {
  if (volume < 0) volume = 0;
  if (volume > 100) volume = 100;
  return volumeTable.entry[volume] - 10000;
}

void ResetSoundState() {
  if (sound.started && HasBackend()) CurrentBackend().StopAudio();
  sound = SoundSystem{};
}

}  // namespace platform
