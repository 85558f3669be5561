// The RIFF chunk walk: after the 12-byte header, the first "fmt " chunk, then
// the first "data" chunk after it. Offsets are kept in 64 bits so no size
// field can wrap them, and every chunk is checked against the end of the file
// before it is read or skipped.
#include "platform/wave_file.h"

#include <cstring>

#include "platform/little_endian.h"

namespace platform {

namespace {

struct Chunk {
  uint64_t body = 0;  // offset of the contents
  uint64_t size = 0;  // as the header says; may run past the end of the file
  uint64_t next = 0;  // offset of the following chunk, pad byte included
};

// Finds the first chunk with this tag at or after `from`. Only a chunk that
// is skipped must lie wholly inside the file; the one found is returned with
// its declared size for the caller to judge.
bool FindChunk(const uint8_t* data, uint64_t size, uint64_t from, const char tag[4], Chunk& out) {
  uint64_t at = from;
  while (at + 8 <= size) {
    uint64_t chunkSize = ReadLe32(data + at + 4);
    uint64_t next = at + 8 + chunkSize + (chunkSize & 1);
    if (std::memcmp(data + at, tag, 4) == 0) {
      out = {at + 8, chunkSize, next};
      return true;
    }
    if (next > size) return false;  // skipping it would leave the file
    at = next;
  }
  return false;
}

}  // namespace

std::optional<WaveView> FindWaveFrames(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 12 || size > kMaxWaveFileBytes) return std::nullopt;
  if (std::memcmp(data, "RIFF", 4) != 0) return std::nullopt;
  const uint64_t total = size;

  Chunk fmt;
  if (!FindChunk(data, total, 12, "fmt ", fmt)) return std::nullopt;
  // The 16 bytes of a PCM format record must be in the chunk and the file.
  if (fmt.size < 16 || fmt.body + 16 > total) return std::nullopt;
  const uint8_t* f = data + fmt.body;
  uint16_t formatTag = ReadLe16(f);
  uint16_t channels = ReadLe16(f + 2);
  uint32_t rate = ReadLe32(f + 4);
  uint16_t blockAlign = ReadLe16(f + 12);
  uint16_t bits = ReadLe16(f + 14);
  if (formatTag != 1) return std::nullopt;  // plain PCM only
  if (channels != 1 && channels != 2) return std::nullopt;
  if (bits != 8 && bits != 16) return std::nullopt;
  if (rate < kMinWaveRate || rate > kMaxWaveRate) return std::nullopt;
  // Frames are 1, 2 or 4 bytes; the file must agree.
  uint32_t frameBytes = channels * (bits / 8u);
  if (blockAlign != frameBytes) return std::nullopt;

  // The "data" chunk is searched for from the end of "fmt ", so the format
  // chunk itself must fit in the file.
  if (fmt.next > total) return std::nullopt;
  Chunk body;
  if (!FindChunk(data, total, fmt.next, "data", body)) return std::nullopt;
  uint64_t bytes = body.size;
  if (bytes > total - body.body) bytes = total - body.body;  // a cut-off file keeps what is there
  bytes &= ~static_cast<uint64_t>(frameBytes - 1);             // whole frames (frameBytes is 1, 2 or 4)
  if (bytes == 0) return std::nullopt;  // nothing to play

  return WaveView{static_cast<int>(rate), channels, bits, data + body.body, static_cast<size_t>(bytes)};
}

std::optional<WaveData> ParseWaveFile(const uint8_t* data, size_t size) {
  std::optional<WaveView> view = FindWaveFrames(data, size);
  if (!view) return std::nullopt;
  WaveData wave;
  wave.rate = view->rate;
  wave.channels = view->channels;
  wave.bitsPerSample = view->bitsPerSample;
  wave.samples.assign(view->samples, view->samples + view->bytes);
  return wave;
}

}  // namespace platform
