// The audio device over SDL: signed 16-bit stereo at 44.1 kHz (SDL converts
// if the hardware wants something else), filled from our mixer on SDL's own
// audio thread. The device is never paused for focus changes, so sounds go
// on playing while the window is in the background.
#include <cstring>

#include "platform/mixer.h"
#include "platform/sdl/sdl_backend.h"

namespace platform {

void SdlAudioCallback(void* userdata, Uint8* stream, int len) {
  auto* self = static_cast<SdlBackend*>(userdata);
  Mixer* mixer = self->mixer_;
  const int frameBytes = 2 * self->audioChannels_;
  if (mixer == nullptr || len <= 0 || mixer->Output().channels != self->audioChannels_) {
    std::memset(stream, 0, static_cast<size_t>(len > 0 ? len : 0));
    return;
  }
  // The mixer takes its own lock; nothing else here is shared.
  mixer->Render(reinterpret_cast<int16_t*>(stream), len / frameBytes);
}

bool SdlBackend::StartAudio(AudioFormat& format, Mixer* mixer) {
  if (audioDevice_ != 0) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = 44100;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = &SdlAudioCallback;
  want.userdata = this;
  // Set before the device exists: its thread reads these.
  mixer_ = mixer;
  audioChannels_ = want.channels;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts to the hardware, so the mixer always
  // sees exactly this format.
  audioDevice_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (audioDevice_ == 0) {
    mixer_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  format.rate = have.freq;
  format.channels = have.channels;
  SDL_PauseAudioDevice(audioDevice_, 0);
  return true;
}

void SdlBackend::StopAudio() {
  if (audioDevice_ == 0) return;
  // Closing waits for the audio thread, so the mixer is no longer in use.
  SDL_CloseAudioDevice(audioDevice_);
  audioDevice_ = 0;
  mixer_ = nullptr;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace platform
