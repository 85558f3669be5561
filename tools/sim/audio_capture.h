// What the sound card would have played: the mixer's output pulled in step
// with the virtual clock, as a device pulls it in step with real time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"

class AudioCapture {
 public:
  // Pulls the mix up to the backend's current virtual time. Call it before
  // anything changes what plays (every play and stop is traced) and at the
  // end; calling it more often changes nothing.
  void CatchUp(platform::HeadlessBackend& backend);

  int rate() const { return rate_; }
  int channels() const { return channels_; }
  const std::vector<int16_t>& samples() const { return samples_; }

  // A 16-bit PCM wave file of everything pulled so far.
  bool WriteWave(const std::string& path) const;

 private:
  int rate_ = 0;
  int channels_ = 0;
  int64_t frames_ = 0;  // frames pulled so far
  std::vector<int16_t> samples_;
};
