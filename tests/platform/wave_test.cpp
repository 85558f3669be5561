// The wave file walk and the formats a sound may have.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/wave_file.h"
#include "tests/platform/wave_builder.h"

namespace {

using platform::ParseWaveFile;
using testwave::Bytes;
using testwave::Chunk;
using testwave::Fmt;
using testwave::Riff;

std::optional<platform::WaveData> Parse(const Bytes& b) { return ParseWaveFile(b.data(), b.size()); }

Bytes Pcm16(std::initializer_list<int16_t> samples) {
  Bytes out;
  for (int16_t s : samples) testwave::Put16(out, static_cast<uint16_t>(s));
  return out;
}

}  // namespace

TEST(WaveFile, ReadsFormatAndSamples) {
  Bytes data = Pcm16({1, -2, 300, -400});
  auto wave = Parse(Riff({Fmt(1, 2, 22050, 16), Chunk("data", data)}));
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->rate, 22050);
  EXPECT_EQ(wave->channels, 2);
  EXPECT_EQ(wave->bitsPerSample, 16);
  EXPECT_EQ(wave->samples, data);

  // The rate's bounds and 8-bit stereo.
  EXPECT_TRUE(Parse(Riff({Fmt(1, 2, 100, 8), Chunk("data", Bytes{1, 2})})));
  EXPECT_TRUE(Parse(Riff({Fmt(1, 1, 200000, 8), Chunk("data", Bytes{1})})));
  // An extended format record (18 bytes) is fine too.
  Bytes fmt18 = Fmt(1, 1, 8000, 8);
  fmt18[4] = 18;
  fmt18.push_back(0);
  fmt18.push_back(0);
  EXPECT_TRUE(Parse(Riff({fmt18, Chunk("data", Bytes{7})})));
}

TEST(WaveFile, ChunksBetweenAreSkippedWithTheirPadByte) {
  // An odd 25-byte chunk is followed by a pad byte before "data".
  Bytes odd(25, 0xAB);
  auto wave = Parse(Riff({Fmt(1, 1, 8000, 8), Chunk("LIST", odd), Chunk("data", Bytes{10, 20, 30})}));
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->samples, (Bytes{10, 20, 30}));
  // Chunks before "fmt " are skipped the same way.
  wave = Parse(Riff({Chunk("junk", Bytes(3, 1)), Fmt(1, 1, 8000, 8), Chunk("data", Bytes{5})}));
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->samples, Bytes{5});
}

TEST(WaveFile, DataMustComeAfterFormat) {
  EXPECT_FALSE(Parse(Riff({Chunk("data", Bytes{1, 2}), Fmt(1, 1, 8000, 8)})));
  // The first "data" after "fmt " is the one used.
  auto wave = Parse(Riff({Chunk("data", Bytes{1, 2}), Fmt(1, 1, 8000, 8), Chunk("data", Bytes{9}),
                          Chunk("data", Bytes{8})}));
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->samples, Bytes{9});
}

TEST(WaveFile, CutOffDataKeepsTheWholeFramesPresent) {
  // Stereo 16-bit frames are 4 bytes; the header claims 400, 10 are there.
  Bytes file = Riff({Fmt(1, 2, 8000, 16), Chunk("data", Bytes(10, 3))});
  std::memcpy(file.data() + file.size() - 14, "\x90\x01\x00\x00", 4);
  auto wave = Parse(file);
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->samples.size(), 8u);
  // Less than one frame is nothing to play.
  EXPECT_FALSE(Parse(Riff({Fmt(1, 2, 8000, 16), Chunk("data", Bytes(3, 3))})));
  EXPECT_FALSE(Parse(Riff({Fmt(1, 1, 8000, 8), Chunk("data", Bytes{})})));
}

TEST(WaveFile, RefusesWhatCannotBePlayed) {
  Bytes data = Chunk("data", Bytes(16, 0));
  struct Case {
    const char* what;
    Bytes file;
  };
  Bytes badAlign = Fmt(1, 2, 8000, 16);
  badAlign[8 + 12] = 3;  // block align 3 for 4-byte frames
  Bytes zeroAlign = Fmt(1, 2, 8000, 16);
  zeroAlign[8 + 12] = 0;
  Bytes shortFmt = Fmt(1, 1, 8000, 8);
  shortFmt[4] = 14;
  shortFmt.resize(8 + 14);
  Bytes rifx = Riff({Fmt(1, 1, 8000, 8), data});
  rifx[3] = 'X';
  const Case cases[] = {
      {"empty", Bytes{}},
      {"header only", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V'}},
      {"not RIFF", rifx},
      {"float samples", Riff({Fmt(3, 1, 8000, 16), data})},
      {"extensible", Riff({Fmt(0xFFFE, 1, 8000, 16), data})},
      {"no channels", Riff({Fmt(1, 0, 8000, 16), data})},
      {"three channels", Riff({Fmt(1, 3, 8000, 16), data})},
      {"24-bit", Riff({Fmt(1, 1, 8000, 24), data})},
      {"4-bit", Riff({Fmt(1, 1, 8000, 4), data})},
      {"rate 0", Riff({Fmt(1, 1, 0, 8), data})},
      {"rate 1 Hz", Riff({Fmt(1, 1, 1, 8), data})},
      {"rate too low", Riff({Fmt(1, 1, 99, 8), data})},
      {"rate too high", Riff({Fmt(1, 1, 200001, 8), data})},
      {"block align wrong", Riff({badAlign, data})},
      {"block align 0", Riff({zeroAlign, data})},
      {"short format record", Riff({shortFmt, data})},
      {"no fmt", Riff({data})},
      {"no data", Riff({Fmt(1, 1, 8000, 8)})},
  };
  for (const Case& c : cases) EXPECT_FALSE(Parse(c.file)) << c.what;
}

TEST(WaveFile, TheWalkNeverLeavesTheFile) {
  // A skipped chunk claiming more than the file holds stops the walk, even
  // when its size would wrap a 32-bit offset.
  for (uint32_t size : {0xFFFFFFFFu, 0xFFFFFFF0u, 0x7FFFFFFFu, 100u}) {
    Bytes file = Riff({Fmt(1, 1, 8000, 8), Chunk("LIST", Bytes(4, 0)), Chunk("data", Bytes{1, 2})});
    size_t list = 12 + 24 + 4;
    std::memcpy(file.data() + list, &size, 4);  // little-endian host
    EXPECT_FALSE(Parse(file)) << size;
  }
  // A "fmt " chunk running past the end, or whose record is cut off.
  Bytes fmt = Riff({Fmt(1, 1, 8000, 8)});
  fmt[16] = 200;
  EXPECT_FALSE(Parse(fmt));
  Bytes cut = Riff({Fmt(1, 1, 8000, 8)});
  cut.resize(cut.size() - 4);
  EXPECT_FALSE(Parse(cut));
  // An odd chunk at the very end without its pad byte: nothing follows.
  Bytes tail = Riff({Fmt(1, 1, 8000, 8), Chunk("odd ", Bytes(3, 0))});
  tail.pop_back();
  EXPECT_FALSE(Parse(tail));
  // Every prefix of a good file is either refused or read within itself.
  Bytes good = Riff({Chunk("junk", Bytes(5, 1)), Fmt(1, 2, 8000, 16), Chunk("LIST", Bytes(25, 2)),
                     Chunk("data", Bytes(64, 7))});
  for (size_t n = 0; n <= good.size(); ++n) {
    Bytes prefix(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
    auto wave = Parse(prefix);
    if (wave) {
      EXPECT_EQ(wave->samples.size() % 4, 0u) << n;
    }
  }
}
