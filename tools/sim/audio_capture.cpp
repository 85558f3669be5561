#include "tools/sim/audio_capture.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/little_endian.h"
#include "platform/mixer.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr size_t kHeaderBytes = 44;

std::vector<uint8_t> Header(int rate, int channels, uint64_t dataBytes) {
  using platform::AppendLe16;
  using platform::AppendLe32;
  auto tag = [](std::vector<uint8_t>& out, const char* t) { out.insert(out.end(), t, t + 4); };
  const uint32_t blockAlign = static_cast<uint32_t>(channels) * 2;
  std::vector<uint8_t> out;
  tag(out, "RIFF");
  AppendLe32(out, static_cast<uint32_t>(36 + dataBytes));
  tag(out, "WAVE");
  tag(out, "fmt ");
  AppendLe32(out, 16);
  AppendLe16(out, 1);  // PCM
  AppendLe16(out, static_cast<uint32_t>(channels));
  AppendLe32(out, static_cast<uint32_t>(rate));
  AppendLe32(out, static_cast<uint32_t>(rate) * blockAlign);
  AppendLe16(out, blockAlign);
  AppendLe16(out, 16);
  tag(out, "data");
  AppendLe32(out, static_cast<uint32_t>(dataBytes));
  return out;
}

}  // namespace

AudioCapture::~AudioCapture() {
  if (file_ != nullptr) std::fclose(file_);
}

bool AudioCapture::Open(const std::filesystem::path& path, std::string& error) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (!ec && status.type() != std::filesystem::file_type::regular) {
    error = "not a regular file";
    return false;
  }
#ifdef _WIN32
  file_ = _wfopen(path.c_str(), L"wb");
  if (file_ == nullptr) {
    error = std::strerror(errno);
    return false;
  }
#else
  // Non-blocking, in case something other than a file took the name since
  // it was looked at: it is refused below instead of waited on.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    error = "not a regular file";
    return false;
  }
  if (::ftruncate(fd, 0) != 0 || ::fcntl(fd, F_SETFL, 0) != 0 || (file_ = ::fdopen(fd, "wb")) == nullptr) {
    error = std::strerror(errno);
    ::close(fd);
    return false;
  }
#endif
  // Room for the header, written last when the sizes are known.
  const uint8_t blank[kHeaderBytes] = {};
  if (std::fwrite(blank, 1, sizeof blank, file_) != sizeof blank) writeError_ = errno;
  return true;
}

void AudioCapture::Write(const int16_t* samples, size_t count) {
  if (count == 0 || writeError_ != 0 || fullAtMs_ >= 0) return;
  std::vector<uint8_t> bytes;
  bytes.reserve(count * 2);
  for (size_t i = 0; i < count; ++i) platform::AppendLe16(bytes, static_cast<uint16_t>(samples[i]));
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) writeError_ = errno != 0 ? errno : EIO;
  dataBytes_ += bytes.size();
}

void AudioCapture::CatchUp(platform::HeadlessBackend& backend) {
  const platform::AudioFormat format = backend.mixer != nullptr ? backend.mixer->Output() : backend.audioFormat;
  if (rate_ == 0) {
    rate_ = format.rate;
    channels_ = format.channels;
  }
  // The device's clock starts with the virtual clock at 0; before the sound
  // system starts, and after it stops, it plays silence. A long stretch is
  // pulled a piece at a time, as a device would.
  int64_t due = backend.now * rate_ / 1000000 - frames_;
  while (due > 0) {
    const int frames = static_cast<int>(std::min<int64_t>(due, 1 << 15));
    std::vector<int16_t> block = backend.RenderAudio(frames);
    block.resize(static_cast<size_t>(frames) * static_cast<size_t>(std::max(channels_, 1)), 0);
    const uint64_t room = (maxDataBytes_ - dataBytes_) / (2 * static_cast<uint64_t>(std::max(channels_, 1)));
    if (fullAtMs_ < 0 && static_cast<uint64_t>(frames) > room) {
      Write(block.data(), static_cast<size_t>(room) * static_cast<size_t>(std::max(channels_, 1)));
      fullAtMs_ = (frames_ + static_cast<int64_t>(room)) * 1000 / std::max(rate_, 1);
    }
    Write(block.data(), block.size());
    frames_ += frames;
    due -= frames;
  }
}

bool AudioCapture::Finish(std::string& error) {
  if (file_ == nullptr) return true;
  const std::vector<uint8_t> header = Header(rate_ > 0 ? rate_ : 44100, channels_ > 0 ? channels_ : 2, dataBytes_);
  if (writeError_ == 0 && (std::fseek(file_, 0, SEEK_SET) != 0 ||
                           std::fwrite(header.data(), 1, header.size(), file_) != header.size())) {
    writeError_ = errno != 0 ? errno : EIO;
  }
  if (std::fclose(file_) != 0 && writeError_ == 0) writeError_ = errno != 0 ? errno : EIO;
  file_ = nullptr;
  if (writeError_ != 0) {
    error = std::strerror(writeError_);
    return false;
  }
  if (fullAtMs_ >= 0) {
    error = "a wave file holds at most 4 GiB of sound (6.7 hours at 44.1 kHz stereo); it stops at " +
            std::to_string(fullAtMs_) + " ms of play, the rest was not written";
    return false;
  }
  return true;
}
