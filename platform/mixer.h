// Our own software mixer: every sound is converted once, when it is loaded,
// to the output's channel count and 16-bit samples at its own rate; the
// audio device pulls the mix of whatever is playing as signed 16-bit
// interleaved samples, each sound resampled on the way by a windowed-sinc
// filter (images of the source spectrum more than 60 dB down). Every start
// and every cut (a stop, or a play that restarts a sound still sounding)
// is eased over a few milliseconds, so the mix never steps.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/backend.h"
#include "platform/wave_file.h"

namespace platform {

class Mixer {
 public:
  // All converted sounds together take at most this many bytes (the game's
  // own take about a sixth of it): no set of files, however made, can take
  // more memory than that.
  static constexpr uint64_t kMaxTotalBytes = uint64_t{64} << 20;

  // Rates below 1 are taken as 44100, channel counts other than 1 as 2.
  explicit Mixer(AudioFormat output);

  AudioFormat Output() const;
  // Changes the output format; only before the first sound is added.
  void SetOutput(AudioFormat output);

  // Converts and keeps the sound; returns its number (from 1) or 0 when it
  // would not fit in what is left of kMaxTotalBytes once converted.
  int AddSound(const WaveView& wave);
  int AddSound(const WaveData& wave) { return AddSound(wave.View()); }
  int SoundCount() const;

  // Gain for an attenuation in hundredths of a decibel (0 is full level,
  // -10000 and below exact silence), as a 16.16 fixed-point factor.
  static int32_t GainForAttenuation(int attenuation);

  // Starts the sound from its beginning, dropping any playback of it still
  // under way. A negative gain keeps the sound's current one. False for an
  // unknown sound.
  bool Play(int sound, bool loop, int32_t gain);
  // Stops the sound and rewinds it.
  void Stop(int sound);
  bool IsPlaying(int sound) const;

  // Scales the whole mix (16.16 fixed point, as GainForAttenuation gives):
  // the player's overall volume. Full level by default.
  void SetMasterGain(int32_t gain);

  // Fills frames * channels samples with the mix. Called on the audio
  // device's thread; allocates nothing.
  void Render(int16_t* out, int frames);

  // Length of the ease at a start or a cut, in output frames (5 ms).
  int FadeFrames() const;

  // Taps of the resampling filter and the phases its table holds.
  static constexpr int kTaps = 32;
  static constexpr int kPhases = 512;

 private:
  // One playback of a sound: where it is and how far its ease has gone.
  struct Playback {
    uint64_t index = 0;  // source frame at or before the output position
    uint64_t frac = 0;   // how far past it, in units of 1 / output rate
    bool on = false;
    bool loop = false;
    int32_t gain = 65536;
    int ramp = 0;  // frames into the fade-in, or left of the fade-out
  };
  struct Sound {
    std::vector<int16_t> samples;  // output channels, interleaved, at `rate`
    uint64_t frames = 0;
    uint64_t rate = 0;
    std::vector<float> kernel;  // (kPhases + 1) x kTaps; empty at the output rate
    Playback main;              // what Play started
    Playback fading;            // a cut playback dying away
    int32_t gain = 65536;       // full level until a play says otherwise
  };

  void Cut(Sound& s);
  void MixPlayback(const Sound& s, Playback& p, bool fadingOut, int32_t* mix, int frames);

  AudioFormat output_;
  int fadeFrames_ = 1;
  // One lock for everything the game thread and the audio thread share. The
  // audio thread holds it only while it mixes one device buffer (a few
  // thousand multiply-adds); the game thread holds it for a flag change or to
  // append an already converted sound. Neither side waits long, and a plain
  // mutex is something the thread sanitizer understands, unlike a
  // lock taken inside the audio library.
  mutable std::mutex lock_;
  std::vector<Sound> sounds_;
  int32_t masterGain_ = 65536;
  uint64_t totalBytes_ = 0;  // of every converted sound; game thread only
};

}  // namespace platform
