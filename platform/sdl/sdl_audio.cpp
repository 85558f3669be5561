// The device is never paused for focus changes, so sounds go on playing
// while the window is in the background.
#include "platform/sdl/sdl_audio.h"

#include <cstring>

#include "platform/mixer.h"

namespace platform {

void SdlAudio::Callback(void* userdata, Uint8* stream, int len) {
  auto* self = static_cast<SdlAudio*>(userdata);
  Mixer* mixer = self->mixer_;
  const int frameBytes = 2 * self->channels_;
  if (mixer == nullptr || len <= 0 || mixer->Output().channels != self->channels_) {
    std::memset(stream, 0, static_cast<size_t>(len > 0 ? len : 0));
    return;
  }
  // The mixer takes its own lock; nothing else here is shared.
  mixer->Render(reinterpret_cast<int16_t*>(stream), len / frameBytes);
}

bool SdlAudio::Start(AudioFormat& format, Mixer* mixer) {
  if (device_ != 0) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = 44100;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = &SdlAudio::Callback;
  want.userdata = this;
  // Set before the device exists: its thread reads these.
  mixer_ = mixer;
  channels_ = want.channels;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts to the hardware, so the mixer always
  // sees exactly this format.
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device_ == 0) {
    mixer_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  format.rate = have.freq;
  format.channels = have.channels;
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

void SdlAudio::Stop() {
  if (device_ == 0) return;
  // Closing waits for the audio thread, so the mixer is no longer in use.
  SDL_CloseAudioDevice(device_);
  device_ = 0;
  mixer_ = nullptr;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace platform
