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

// Output frame i sits at source position i * inRate / outRate: the whole
// part and the remainder are stepped along instead of divided out, and
// neighbouring source frames are joined by a straight line.
template <int InChannels, int Bits>
void Convert(const WaveView& wave, uint64_t inFrames, uint64_t outRate, int channels, uint64_t outFrames,
             int16_t* out) {
  const uint64_t inRate = static_cast<uint64_t>(wave.rate);
  uint64_t index = 0;
  uint64_t frac = 0;
  for (uint64_t i = 0; i < outFrames; ++i) {
    int a[2];
    SourceFrame<InChannels, Bits>(wave.samples, index, channels, a);
    if (frac == 0 || index + 1 >= inFrames) {
      for (int c = 0; c < channels; ++c) *out++ = static_cast<int16_t>(a[c]);
    } else {
      int b[2];
      SourceFrame<InChannels, Bits>(wave.samples, index + 1, channels, b);
      for (int c = 0; c < channels; ++c) {
        int64_t v = a[c] + (static_cast<int64_t>(b[c] - a[c]) * static_cast<int64_t>(frac)) /
                               static_cast<int64_t>(outRate);
        *out++ = static_cast<int16_t>(v);
      }
    }
    frac += inRate;
    while (frac >= outRate) {
      frac -= outRate;
      ++index;
    }
  }
}

}  // namespace

namespace {
AudioFormat Sanitised(AudioFormat f) {
  if (f.rate < 1) f.rate = 44100;
  if (f.channels != 1) f.channels = 2;
  return f;
}
}  // namespace

Mixer::Mixer(AudioFormat output) : output_(Sanitised(output)) {}

AudioFormat Mixer::Output() const {
  std::lock_guard<std::mutex> guard(lock_);
  return output_;
}

void Mixer::SetOutput(AudioFormat output) {
  std::lock_guard<std::mutex> guard(lock_);
  if (sounds_.empty()) output_ = Sanitised(output);
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
  const uint64_t outRate = static_cast<uint64_t>(output.rate);
  const uint64_t inRate = static_cast<uint64_t>(wave.rate);
  const uint64_t frameBytes = static_cast<uint64_t>(wave.channels) * static_cast<uint64_t>(wave.bitsPerSample / 8);
  if (wave.rate < 1 || frameBytes == 0 || (wave.channels != 1 && wave.channels != 2)) return 0;
  if (wave.bitsPerSample != 8 && wave.bitsPerSample != 16) return 0;
  // Frames are 1, 2 or 4 bytes.
  const int frameShift = frameBytes == 1 ? 0 : frameBytes == 2 ? 1 : 2;
  const uint64_t inFrames = static_cast<uint64_t>(wave.bytes) >> frameShift;
  if (inFrames == 0) return 0;
  // Output frame i sits at source position i * inRate / outRate; the sound
  // lasts while that is below inFrames, i.e. while i * inRate < inFrames *
  // outRate. Only the output rate, never a number from the file, divides.
  // Sample counts and rates fit in 32 bits, so nothing here overflows.
  const uint64_t end = inFrames * outRate;
  const uint64_t outFrames = (end + inRate - 1) / inRate;
  const uint64_t bytes = outFrames * static_cast<uint64_t>(channels) * sizeof(int16_t);
  if (bytes > kMaxTotalBytes - totalBytes_) return 0;

  // Converted once, straight into its final buffer.
  Sound sound;
  sound.samples.resize(static_cast<size_t>(outFrames) * static_cast<size_t>(channels));
  sound.frames = outFrames;
  int16_t* out = sound.samples.data();
  if (wave.channels == 1 && wave.bitsPerSample == 8) Convert<1, 8>(wave, inFrames, outRate, channels, outFrames, out);
  if (wave.channels == 1 && wave.bitsPerSample == 16) Convert<1, 16>(wave, inFrames, outRate, channels, outFrames, out);
  if (wave.channels == 2 && wave.bitsPerSample == 8) Convert<2, 8>(wave, inFrames, outRate, channels, outFrames, out);
  if (wave.channels == 2 && wave.bitsPerSample == 16) Convert<2, 16>(wave, inFrames, outRate, channels, outFrames, out);
  totalBytes_ += bytes;

  std::lock_guard<std::mutex> guard(lock_);
  sounds_.push_back(std::move(sound));
  return static_cast<int>(sounds_.size());
}

int Mixer::SoundCount() const {
  std::lock_guard<std::mutex> guard(lock_);
  return static_cast<int>(sounds_.size());
}

bool Mixer::Play(int sound, bool loop, int32_t gain) {
  std::lock_guard<std::mutex> guard(lock_);
  if (sound < 1 || sound > static_cast<int>(sounds_.size())) return false;
  Sound& s = sounds_[static_cast<size_t>(sound - 1)];
  s.position = 0;
  s.loop = loop;
  if (gain >= 0) s.gain = std::min<int32_t>(gain, 65536);
  s.playing = true;
  return true;
}

void Mixer::Stop(int sound) {
  std::lock_guard<std::mutex> guard(lock_);
  if (sound < 1 || sound > static_cast<int>(sounds_.size())) return;
  Sound& s = sounds_[static_cast<size_t>(sound - 1)];
  s.playing = false;
  s.position = 0;
}

bool Mixer::IsPlaying(int sound) const {
  std::lock_guard<std::mutex> guard(lock_);
  if (sound < 1 || sound > static_cast<int>(sounds_.size())) return false;
  return sounds_[static_cast<size_t>(sound - 1)].playing;
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
      if (!s.playing) continue;
      int filled = 0;
      while (filled < block && s.playing) {
        uint64_t take = std::min<uint64_t>(static_cast<uint64_t>(block - filled), s.frames - s.position);
        const int16_t* src = s.samples.data() + s.position * static_cast<uint64_t>(channels);
        int32_t* dst = mix + filled * channels;
        const int n = static_cast<int>(take) * channels;
        if (s.gain == 65536) {
          for (int k = 0; k < n; ++k) dst[k] += src[k];
        } else if (s.gain != 0) {
          for (int k = 0; k < n; ++k) dst[k] += static_cast<int32_t>((int64_t{src[k]} * s.gain) >> 16);
        }
        filled += static_cast<int>(take);
        s.position += take;
        if (s.position >= s.frames) {
          s.position = 0;
          if (!s.loop) s.playing = false;
        }
      }
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
