#include "platform/mixer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace platform {

namespace {

// Source frame `frame` as signed 16-bit samples in the output's channels:
// mono is copied to both sides, stereo folded to mono by averaging.
template <int InChannels, int Bits>
inline void SourceFrame(const uint8_t* samples, uint64_t frame, int outChannels, int out[2]) {
  int v[2];
  for (int c = 0; c < InChannels; ++c) {
    const uint64_t index = frame * InChannels + static_cast<uint64_t>(c);
    if constexpr (Bits == 8) {
      v[c] = (static_cast<int>(samples[index]) - 128) * 256;
    } else {
      const uint8_t* p = samples + index * 2;
      v[c] = static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
    }
  }
  if constexpr (InChannels == 1) v[1] = v[0];
  out[0] = v[0];
  out[1] = v[1];
  if (outChannels == 1) out[0] = (out[0] + out[1]) / 2;
}

template <int InChannels, int Bits>
void Convert(const WaveView& wave, uint64_t frames, int channels, int16_t* out) {
  for (uint64_t i = 0; i < frames; ++i) {
    int a[2];
    SourceFrame<InChannels, Bits>(wave.samples, i, channels, a);
    for (int c = 0; c < channels; ++c) *out++ = static_cast<int16_t>(a[c]);
  }
}

// sin(2 pi turns) from + - * / only, so the filter comes out the same on
// every C library.
double SinTurns(double turns) {
  double r = turns - std::floor(turns + 0.5);  // -0.5 .. 0.5
  if (r > 0.25) r = 0.5 - r;
  if (r < -0.25) r = -0.5 - r;
  const double x = 2 * 3.14159265358979323846 * r;
  double term = x, sum = x;
  for (int n = 1; n < 12; ++n) {
    term *= -x * x / ((2 * n) * (2 * n + 1));
    sum += term;
  }
  return sum;
}

double BesselI0(double x) {
  double term = 1, sum = 1;
  for (int k = 1; k < 40; ++k) {
    term *= (x / (2 * k)) * (x / (2 * k));
    sum += term;
  }
  return sum;
}

// Kaiser-windowed sinc, cut off just under half the lower of the two rates;
// beta 8.6 holds the side lobes near -85 dB, and the 32 taps put the
// stop band's edge within 0.57 of the source rate. Row p is the filter for an
// output position p / kPhases past a source frame; each row sums to one.
std::vector<float> ResamplingKernel(uint64_t inRate, uint64_t outRate) {
  constexpr int kTaps = Mixer::kTaps;
  constexpr int kPhases = Mixer::kPhases;
  constexpr double kBeta = 8.6;
  const double cutoff = 0.49 * std::min(1.0, static_cast<double>(outRate) / static_cast<double>(inRate));
  const double half = kTaps / 2.0;
  const double norm = BesselI0(kBeta);
  std::vector<float> kernel(static_cast<size_t>(kPhases + 1) * kTaps);
  for (int p = 0; p <= kPhases; ++p) {
    const double phase = static_cast<double>(p) / kPhases;
    double taps[kTaps];
    double sum = 0;
    for (int k = 0; k < kTaps; ++k) {
      const double t = (k - (kTaps / 2 - 1)) - phase;
      const double u = t / half;
      const double window = u * u < 1 ? BesselI0(kBeta * std::sqrt(1 - u * u)) / norm : 0;
      const double sinc = t == 0 ? 2 * cutoff : SinTurns(cutoff * t) / (3.14159265358979323846 * t);
      taps[k] = sinc * window;
      sum += taps[k];
    }
    for (int k = 0; k < kTaps; ++k) kernel[static_cast<size_t>(p) * kTaps + static_cast<size_t>(k)] = static_cast<float>(taps[k] / sum);
  }
  return kernel;
}

AudioFormat Sanitised(AudioFormat f) {
  if (f.rate < 1) f.rate = 44100;
  if (f.channels != 1) f.channels = 2;
  return f;
}

int FadeFramesFor(int rate) { return std::max(1, rate / 200); }

}  // namespace

Mixer::Mixer(AudioFormat output) : output_(Sanitised(output)), fadeFrames_(FadeFramesFor(output_.rate)) {}

AudioFormat Mixer::Output() const {
  std::lock_guard<std::mutex> guard(lock_);
  return output_;
}

void Mixer::SetOutput(AudioFormat output) {
  std::lock_guard<std::mutex> guard(lock_);
  if (!sounds_.empty()) return;
  output_ = Sanitised(output);
  fadeFrames_ = FadeFramesFor(output_.rate);
}

int Mixer::FadeFrames() const {
  std::lock_guard<std::mutex> guard(lock_);
  return fadeFrames_;
}

int32_t Mixer::GainForAttenuation(int attenuation) {
  if (attenuation <= -10000) return 0;
  if (attenuation >= 0) return 65536;
  return static_cast<int32_t>(std::lround(65536.0 * std::pow(10.0, attenuation / 2000.0)));
}

int Mixer::AddSound(const WaveView& wave) {
  // Only the game thread changes the format, so this copy stays true.
  const AudioFormat output = Output();
  const int channels = output.channels;
  const uint64_t frameBytes = static_cast<uint64_t>(wave.channels) * static_cast<uint64_t>(wave.bitsPerSample / 8);
  if (wave.rate < 1 || frameBytes == 0 || (wave.channels != 1 && wave.channels != 2)) return 0;
  if (wave.bitsPerSample != 8 && wave.bitsPerSample != 16) return 0;
  // Frames are 1, 2 or 4 bytes.
  const int frameShift = frameBytes == 1 ? 0 : frameBytes == 2 ? 1 : 2;
  const uint64_t frames = static_cast<uint64_t>(wave.bytes) >> frameShift;
  if (frames == 0) return 0;
  const bool resampled = static_cast<uint64_t>(wave.rate) != static_cast<uint64_t>(output.rate);
  const uint64_t kernelBytes = resampled ? (kPhases + 1) * kTaps * sizeof(float) : 0;
  const uint64_t bytes = frames * static_cast<uint64_t>(channels) * sizeof(int16_t) + kernelBytes;
  if (bytes > kMaxTotalBytes - totalBytes_) return 0;

  // Converted once, straight into its final buffer.
  Sound sound;
  sound.samples.resize(static_cast<size_t>(frames) * static_cast<size_t>(channels));
  sound.frames = frames;
  sound.rate = static_cast<uint64_t>(wave.rate);
  int16_t* out = sound.samples.data();
  if (wave.channels == 1 && wave.bitsPerSample == 8) Convert<1, 8>(wave, frames, channels, out);
  if (wave.channels == 1 && wave.bitsPerSample == 16) Convert<1, 16>(wave, frames, channels, out);
  if (wave.channels == 2 && wave.bitsPerSample == 8) Convert<2, 8>(wave, frames, channels, out);
  if (wave.channels == 2 && wave.bitsPerSample == 16) Convert<2, 16>(wave, frames, channels, out);
  if (resampled) sound.kernel = ResamplingKernel(sound.rate, static_cast<uint64_t>(output.rate));
  totalBytes_ += bytes;

  std::lock_guard<std::mutex> guard(lock_);
  sounds_.push_back(std::move(sound));
  return static_cast<int>(sounds_.size());
}

int Mixer::SoundCount() const {
  std::lock_guard<std::mutex> guard(lock_);
  return static_cast<int>(sounds_.size());
}

// A playback still sounding is not dropped but handed to the fade-out.
void Mixer::Cut(Sound& s) {
  if (!s.main.on) return;
  s.fading = s.main;
  s.fading.ramp = fadeFrames_;
  s.main = Playback{};
}

bool Mixer::Play(int sound, bool loop, int32_t gain) {
  std::lock_guard<std::mutex> guard(lock_);
  if (sound < 1 || sound > static_cast<int>(sounds_.size())) return false;
  Sound& s = sounds_[static_cast<size_t>(sound - 1)];
  Cut(s);
  if (gain >= 0) s.gain = std::min<int32_t>(gain, 65536);
  s.main = Playback{};
  s.main.on = true;
  s.main.loop = loop;
  s.main.gain = s.gain;
  return true;
}

void Mixer::Stop(int sound) {
  std::lock_guard<std::mutex> guard(lock_);
  if (sound < 1 || sound > static_cast<int>(sounds_.size())) return;
  Cut(sounds_[static_cast<size_t>(sound - 1)]);
}

bool Mixer::IsPlaying(int sound) const {
  std::lock_guard<std::mutex> guard(lock_);
  if (sound < 1 || sound > static_cast<int>(sounds_.size())) return false;
  return sounds_[static_cast<size_t>(sound - 1)].main.on;
}

void Mixer::MixPlayback(const Sound& s, Playback& p, bool fadingOut, int32_t* mix, int frames) {
  const int channels = output_.channels;
  const uint64_t outRate = static_cast<uint64_t>(output_.rate);
  const int16_t* src = s.samples.data();
  const auto ch = static_cast<uint64_t>(channels);
  for (int i = 0; i < frames && p.on; ++i) {
    // The ease is a straight ramp: 0 to 1 over a fade-in, 1 to 0 over a fade-out.
    int64_t gain = p.gain;
    if (fadingOut) {
      gain = gain * p.ramp / fadeFrames_;
    } else if (p.ramp < fadeFrames_) {
      gain = gain * p.ramp / fadeFrames_;
    }
    float v[2] = {0, 0};
    if (s.kernel.empty()) {
      for (int c = 0; c < channels; ++c) v[c] = src[p.index * ch + static_cast<uint64_t>(c)];
    } else {
      // Blend the two nearest phases' filters, then run them over the taps
      // around the position; a loop reads across its seam, a sound played
      // once has silence outside.
      const float at = static_cast<float>(static_cast<double>(p.frac) * kPhases / static_cast<double>(outRate));
      const int row = std::min(static_cast<int>(at), kPhases - 1);
      const float t = at - static_cast<float>(row);
      const float* k0 = s.kernel.data() + static_cast<size_t>(row) * kTaps;
      const float* k1 = k0 + kTaps;
      const int64_t first = static_cast<int64_t>(p.index) - (kTaps / 2 - 1);
      const auto n = static_cast<int64_t>(s.frames);
      const bool inside = first >= 0 && first + kTaps <= n;
      for (int k = 0; k < kTaps; ++k) {
        int64_t idx = first + k;
        if (!inside) {
          if (p.loop) {
            idx %= n;
            if (idx < 0) idx += n;
          } else if (idx < 0 || idx >= n) {
            continue;
          }
        }
        const float w = k0[k] + (k1[k] - k0[k]) * t;
        const int16_t* f = src + static_cast<uint64_t>(idx) * ch;
        v[0] += w * f[0];
        if (channels == 2) v[1] += w * f[1];
      }
    }
    for (int c = 0; c < channels; ++c)
      mix[i * channels + c] += static_cast<int32_t>(std::floor(v[c] * static_cast<float>(gain) / 65536.0f + 0.5f));

    if (fadingOut) {
      if (--p.ramp <= 0) p.on = false;
    } else if (p.ramp < fadeFrames_) {
      ++p.ramp;
    }
    // Step one output frame: the source advances by rate / output rate.
    p.frac += s.rate;
    if (p.frac >= outRate) {
      p.index += p.frac / outRate;
      p.frac %= outRate;
    }
    if (p.index >= s.frames) {
      if (p.loop) {
        p.index %= s.frames;
      } else {
        p.on = false;
      }
    }
  }
}

void Mixer::SetMasterGain(int32_t gain) {
  std::lock_guard<std::mutex> guard(lock_);
  masterGain_ = gain < 0 ? 0 : gain;
}

void Mixer::Render(int16_t* out, int frames) {
  if (out == nullptr || frames <= 0) return;
  constexpr int kBlockFrames = 256;
  int32_t mix[kBlockFrames * 2];
  std::lock_guard<std::mutex> guard(lock_);
  const int channels = output_.channels;
  for (int done = 0; done < frames;) {
    const int block = std::min(kBlockFrames, frames - done);
    const int count = block * channels;
    std::fill(mix, mix + count, 0);
    for (Sound& s : sounds_) {
      if (s.fading.on) MixPlayback(s, s.fading, true, mix, block);
      if (s.main.on) MixPlayback(s, s.main, false, mix, block);
    }
    // Scaled before the clamp, so a quieter mix of loud sounds loses no peaks.
    if (masterGain_ != 65536) {
      for (int k = 0; k < count; ++k) mix[k] = static_cast<int32_t>((int64_t{mix[k]} * masterGain_) >> 16);
    }
    int16_t* o = out + static_cast<size_t>(done) * static_cast<size_t>(channels);
    for (int k = 0; k < count; ++k) o[k] = static_cast<int16_t>(std::clamp<int32_t>(mix[k], -32768, 32767));
    done += block;
  }
}

}  // namespace platform
