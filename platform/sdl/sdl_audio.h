// The audio device: signed 16-bit stereo at 44.1 kHz (SDL converts if the
// hardware wants something else), filled from our mixer on SDL's own audio
// thread.
#pragma once

#include <SDL.h>

#include "platform/backend.h"

namespace platform {

class SdlAudio {
 public:
  bool Start(AudioFormat& format, Mixer* mixer);
  void Stop();

 private:
  static void Callback(void* userdata, Uint8* stream, int len);

  SDL_AudioDeviceID device_ = 0;
  Mixer* mixer_ = nullptr;
  int channels_ = 2;
};

}  // namespace platform
