// The device is never paused for focus changes, so sounds go on playing
// while the window is in the background.
#include "platform/sdl/sdl_audio.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "platform/mixer.h"

namespace platform {

namespace {

// The open device, for the exit handler below.
std::atomic<SDL_AudioDeviceID> openDevice{0};

// exit() can come from anywhere: Xlib calls it when the display goes away.
// It then runs the static destructors, the mixer's owner among them, while
// SDL's audio thread still pulls from the mixer. Registered once a device is
// open, so it runs before those destructors: pausing takes the device's lock,
// so once it returns the callback has finished and is never called again.
void SilenceBeforeExit() {
  SDL_AudioDeviceID device = openDevice.exchange(0);
  if (device != 0) SDL_PauseAudioDevice(device, 1);
}

}  // namespace

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
  static const bool handlerRegistered = std::atexit(&SilenceBeforeExit) == 0;
  (void)handlerRegistered;
  openDevice = device_;
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

void SdlAudio::Stop() {
  if (device_ == 0) return;
  openDevice = 0;
  // Closing waits for the audio thread, so the mixer is no longer in use.
  SDL_CloseAudioDevice(device_);
  device_ = 0;
  mixer_ = nullptr;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace platform
