// The audio device over SDL (to be completed: mixer pulls).
#include "platform/sdl/sdl_backend.h"

namespace platform {

void SdlAudioCallback(void* userdata, Uint8* stream, int len) {
  (void)userdata;
  SDL_memset(stream, 0, static_cast<size_t>(len));
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
  SDL_AudioSpec have{};
  audioDevice_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (audioDevice_ == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  format.rate = have.freq;
  format.channels = have.channels;
  mixer_ = mixer;
  SDL_PauseAudioDevice(audioDevice_, 0);
  return true;
}

void SdlBackend::StopAudio() {
  if (audioDevice_ == 0) return;
  SDL_CloseAudioDevice(audioDevice_);
  audioDevice_ = 0;
  mixer_ = nullptr;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace platform
