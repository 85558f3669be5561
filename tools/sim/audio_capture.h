// What the sound card would have played: the mixer's output pulled in step
// with the virtual clock, as a device pulls it in step with real time, and
// streamed into a 16-bit PCM wave file as it comes (an hour of play is
// 600 MB: it is never held whole).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/headless/headless_backend.h"

class AudioCapture {
 public:
  // The most sample bytes a wave file can hold: its sizes are 32-bit.
  static constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - 36;

  // maxDataBytes: a smaller limit lets a test reach it.
  explicit AudioCapture(uint64_t maxDataBytes = kMaxDataBytes) : maxDataBytes_(maxDataBytes) {}
  AudioCapture(const AudioCapture&) = delete;
  AudioCapture& operator=(const AudioCapture&) = delete;
  ~AudioCapture();

  // Creates or empties the file before the run, so a path that cannot be
  // written is known at once. Only a regular file is written: a FIFO or a
  // device is refused, never waited on. False with the reason.
  bool Open(const std::filesystem::path& path, std::string& error);

  // Pulls the mix up to the backend's current virtual time. Call it before
  // anything changes what plays (every play and stop is traced) and at the
  // end; calling it more often changes nothing.
  void CatchUp(platform::HeadlessBackend& backend);

  // Writes the header and closes the file. False with the reason when a
  // write failed or the sound outgrew what a wave file can say it holds.
  bool Finish(std::string& error);

 private:
  void Write(const int16_t* samples, size_t count);

  uint64_t maxDataBytes_;
  std::FILE* file_ = nullptr;
  int rate_ = 0;
  int channels_ = 0;
  int64_t frames_ = 0;       // frames pulled so far
  uint64_t dataBytes_ = 0;   // sample bytes written so far
  int64_t fullAtMs_ = -1;    // virtual time at which the file filled up
  int writeError_ = 0;       // errno of the first failed write
};
