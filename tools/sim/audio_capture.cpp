#include "tools/sim/audio_capture.h"

#include "platform/mixer.h"
#include "tools/assets/wave_writer.h"

void AudioCapture::CatchUp(platform::HeadlessBackend& backend) {
  const platform::AudioFormat format = backend.mixer != nullptr ? backend.mixer->Output() : backend.audioFormat;
  if (rate_ == 0) {
    rate_ = format.rate;
    channels_ = format.channels;
  }
  // The device's clock starts with the virtual clock at 0; before the sound
  // system starts, and after it stops, it plays silence.
  const int64_t due = backend.now * rate_ / 1000000 - frames_;
  if (due <= 0) return;
  const std::vector<int16_t> block = backend.RenderAudio(static_cast<int>(due));
  if (static_cast<int64_t>(block.size()) == due * channels_) {
    samples_.insert(samples_.end(), block.begin(), block.end());
  } else {
    samples_.resize(samples_.size() + static_cast<size_t>(due * channels_), 0);
  }
  frames_ += due;
}

bool AudioCapture::WriteWave(const std::string& path) const {
  art::Sound s;
  s.rate = rate_ > 0 ? rate_ : 44100;
  s.channels = channels_ > 0 ? channels_ : 2;
  s.samples = samples_;
  return art::WriteWave(path, s);
}
