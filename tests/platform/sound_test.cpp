// Sounds through the mixer, heard through the headless backend's render.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/mixer.h"
#include "platform/wave_file.h"
#include "platform/sound.h"
#include "tests/test_support.h"
#include "tests/platform/wave_builder.h"

namespace {

namespace fs = std::filesystem;
using testwave::Bytes;

// A mono sound at the device rate whose sample n is base + n * step.
Bytes Ramp(int frames, int base, int step) {
  std::vector<int16_t> s;
  for (int n = 0; n < frames; ++n) s.push_back(static_cast<int16_t>(base + n * step));
  return testwave::Wave16(44100, 1, s);
}

class SoundTest : public HeadlessTest {
 protected:
  SoundId Load(const std::string& name, const Bytes& bytes) {
    WriteBytes(dir.path() / "Sound" / name, bytes);
    return LoadSoundFile("Sound\\" + name);
  }
  // Left channel of the next frames of the mix.
  std::vector<int> Left(int frames) {
    std::vector<int16_t> mix = backend.RenderAudio(frames);
    std::vector<int> left;
    for (int i = 0; i < frames; ++i) left.push_back(mix[static_cast<size_t>(i) * 2]);
    return left;
  }
  std::vector<std::string> SoundTraces() const {
    std::vector<std::string> out;
    for (const std::string& line : backend.traceLines) {
      size_t at = line.find("sound ");
      if (at != std::string::npos) out.push_back(line.substr(at));
    }
    return out;
  }

  ScopedWorkDir dir;
};

}  // namespace

TEST(SoundVolume, TableValuesAndClamping) {
  EXPECT_EQ(platform::VolumeToAttenuation(100), 0);
  EXPECT_EQ(platform::VolumeToAttenuation(75), -250);
  EXPECT_EQ(platform::VolumeToAttenuation(50), -603);
  EXPECT_EQ(platform::VolumeToAttenuation(25), -1205);
  EXPECT_EQ(platform::VolumeToAttenuation(10), -2000);
  EXPECT_EQ(platform::VolumeToAttenuation(1), -4000);
  EXPECT_EQ(platform::VolumeToAttenuation(0), -10000);
  EXPECT_EQ(platform::VolumeToAttenuation(101), 0);
  EXPECT_EQ(platform::VolumeToAttenuation(1000000), 0);
  EXPECT_EQ(platform::VolumeToAttenuation(-1), -10000);
  EXPECT_EQ(platform::VolumeToAttenuation(-1000000), -10000);
  for (int v = 1; v <= 100; ++v) {
    EXPECT_GT(platform::VolumeToAttenuation(v), platform::VolumeToAttenuation(v - 1)) << v;
  }
}

TEST(SoundVolume, GainFollowsTheAttenuation) {
  EXPECT_EQ(platform::Mixer::GainForAttenuation(0), 65536);
  EXPECT_EQ(platform::Mixer::GainForAttenuation(-10000), 0);
  EXPECT_EQ(platform::Mixer::GainForAttenuation(-20000), 0);
  EXPECT_NEAR(platform::Mixer::GainForAttenuation(-603), 65536 * 0.49946, 2);
  EXPECT_NEAR(platform::Mixer::GainForAttenuation(-2000), 6554, 1);
}

TEST_F(SoundTest, StartFailureAndNoneHandles) {
  backend.fail.sound = true;
  EXPECT_EQ(StartSoundSystem(), 0);
  EXPECT_EQ(Load("Drop.wav", Ramp(10, 100, 0)), 0);
  backend.fail.sound = false;
  ASSERT_EQ(StartSoundSystem(), 1);
  EXPECT_EQ(StartSoundSystem(), 1);
  EXPECT_EQ(PlaySoundId(0, 0, 100), 0);
  EXPECT_EQ(PlaySoundId(7, 0, 100), 0);
  StopSoundId(0);
  StopSoundId(7);
  EXPECT_EQ(LoadSoundFile("Sound\\Missing.wav"), 0);
  EXPECT_EQ(Load("Broken.wav", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0}), 0);
  EXPECT_TRUE(SoundTraces().empty());
  StopSoundSystem();
  EXPECT_EQ(backend.mixer, nullptr);
}

TEST_F(SoundTest, PlayRestartsInsteadOfOverlapping) {
  ASSERT_EQ(StartSoundSystem(), 1);
  SoundId drop = Load("Drop.wav", Ramp(1000, 1000, 10));
  ASSERT_NE(drop, 0);
  EXPECT_EQ(Left(5), (std::vector<int>{0, 0, 0, 0, 0}));
  EXPECT_EQ(PlaySoundId(drop, 0, -1), 1);
  EXPECT_EQ(Left(3), (std::vector<int>{1000, 1010, 1020}));
  Left(200);
  // Played again while it still sounds: from the beginning, alone.
  EXPECT_EQ(PlaySoundId(drop, 0, -1), 1);
  EXPECT_EQ(Left(3), (std::vector<int>{1000, 1010, 1020}));
  // Stopped: silence, and the next play starts at the beginning too.
  StopSoundId(drop);
  EXPECT_EQ(Left(2), (std::vector<int>{0, 0}));
  PlaySoundId(drop, 0, -1);
  EXPECT_EQ(Left(1), std::vector<int>{1000});
  EXPECT_EQ(SoundTraces(), (std::vector<std::string>{
                               "sound play \"Sound\\Drop.wav\" loop=0 vol=-1",
                               "sound play \"Sound\\Drop.wav\" loop=0 vol=-1",
                               "sound stop \"Sound\\Drop.wav\"",
                               "sound play \"Sound\\Drop.wav\" loop=0 vol=-1",
                           }));
}

TEST_F(SoundTest, OnceEndsAndLoopWraps) {
  ASSERT_EQ(StartSoundSystem(), 1);
  SoundId once = Load("Drop.wav", Ramp(4, 100, 100));
  SoundId loop = Load("Music.wav", Ramp(3, 1, 1));
  ASSERT_NE(once, 0);
  ASSERT_NE(loop, 0);
  PlaySoundId(once, 0, -1);
  EXPECT_EQ(Left(6), (std::vector<int>{100, 200, 300, 400, 0, 0}));
  PlaySoundId(loop, 1, -1);
  EXPECT_EQ(Left(7), (std::vector<int>{1, 2, 3, 1, 2, 3, 1}));
  // Both together add up, and the right channel matches the left.
  PlaySoundId(once, 0, -1);
  std::vector<int16_t> mix = backend.RenderAudio(2);
  EXPECT_EQ(mix, (std::vector<int16_t>{102, 102, 203, 203}));
  EXPECT_EQ(SoundTraces().back(), "sound play \"Sound\\Drop.wav\" loop=0 vol=-1");
  EXPECT_EQ(SoundTraces()[1], "sound play \"Sound\\Music.wav\" loop=1 vol=-1");
}

TEST_F(SoundTest, VolumeSetsGainAndMinusOneKeepsIt) {
  ASSERT_EQ(StartSoundSystem(), 1);
  SoundId music = Load("Music.wav", Ramp(100, 20000, 0));
  ASSERT_NE(music, 0);
  PlaySoundId(music, 1, 50);  // -6.03 dB
  EXPECT_NEAR(Left(1)[0], 20000 * 0.49946, 2);
  PlaySoundId(music, 1, -1);
  EXPECT_NEAR(Left(1)[0], 20000 * 0.49946, 2);
  PlaySoundId(music, 1, 0);
  EXPECT_EQ(Left(50), std::vector<int>(50, 0));
  PlaySoundId(music, 1, -7);  // below 0 is 0, not "keep"
  EXPECT_EQ(Left(1)[0], 0);
  PlaySoundId(music, 1, 250);  // above 100 is 100
  EXPECT_EQ(Left(1)[0], 20000);
  EXPECT_EQ(SoundTraces()[0], "sound play \"Sound\\Music.wav\" loop=1 vol=50");
}

TEST_F(SoundTest, LoudSoundsClipInsteadOfWrapping) {
  ASSERT_EQ(StartSoundSystem(), 1);
  SoundId a = Load("A.wav", Ramp(10, 30000, 0));
  SoundId b = Load("B.wav", Ramp(10, 30000, 0));
  SoundId c = Load("C.wav", Ramp(10, -30000, 0));
  SoundId d = Load("D.wav", Ramp(10, -30000, 0));
  PlaySoundId(a, 0, -1);
  PlaySoundId(b, 0, -1);
  EXPECT_EQ(Left(1)[0], 32767);
  PlaySoundId(a, 0, 0);
  PlaySoundId(b, 0, 0);
  PlaySoundId(c, 0, -1);
  PlaySoundId(d, 0, -1);
  EXPECT_EQ(Left(1)[0], -32768);
}

TEST_F(SoundTest, ConvertedToTheDeviceFormatAtLoad) {
  // Half the device rate: every source frame is followed by a midpoint.
  ASSERT_EQ(StartSoundSystem(), 1);
  SoundId slow = Load("Slow.wav", testwave::Wave16(22050, 1, {0, 1000, 2000}));
  PlaySoundId(slow, 0, -1);
  EXPECT_EQ(Left(8), (std::vector<int>{0, 500, 1000, 1500, 2000, 2000, 0, 0}));
  // 8-bit samples are unsigned around 128; stereo stays stereo.
  Bytes eight = testwave::Riff({testwave::Fmt(1, 2, 44100, 8), testwave::Chunk("data", Bytes{128, 255, 0, 129})});
  SoundId bytes = Load("Eight.wav", eight);
  ASSERT_NE(bytes, 0);
  PlaySoundId(bytes, 0, -1);
  EXPECT_EQ(backend.RenderAudio(3), (std::vector<int16_t>{0, 32512, -32768, 256, 0, 0}));
  // Double the rate: every other frame.
  SoundId fast = Load("Fast.wav", testwave::Wave16(88200, 1, {1, 2, 3, 4, 5}));
  PlaySoundId(fast, 0, -1);
  EXPECT_EQ(Left(4), (std::vector<int>{1, 3, 5, 0}));
}

TEST(SoundMixer, MonoDeviceFoldsStereo) {
  platform::Mixer mixer({8000, 1});
  platform::WaveData wave;
  wave.rate = 8000;
  wave.channels = 2;
  wave.bitsPerSample = 8;
  wave.samples = {128 + 10, 128 + 30};  // 2560 and 7680
  int id = mixer.AddSound(wave);
  ASSERT_EQ(id, 1);
  mixer.Play(id, false, -1);
  int16_t out[2] = {1, 1};
  mixer.Render(out, 2);
  EXPECT_EQ(out[0], 5120);
  EXPECT_EQ(out[1], 0);
}

TEST(SoundMixer, HostileSoundsStayWithinTheMemoryBound) {
  // Six of the slowest sounds the reader lets through, each about 35 MB once
  // stretched to 44.1 kHz stereo: what fits is kept, the rest refused before
  // anything is converted, and the total never passes the bound.
  platform::Mixer mixer({44100, 2});
  platform::WaveData wave;
  wave.rate = platform::kMinWaveRate;
  wave.channels = 1;
  wave.bitsPerSample = 8;
  wave.samples.assign(20000, 128);
  int kept = 0;
  for (int k = 0; k < 6; ++k) kept += mixer.AddSound(wave) != 0;
  EXPECT_EQ(kept, 1);
  EXPECT_EQ(mixer.SoundCount(), 1);
  // A short sound still fits beside it.
  wave.samples.assign(2, 128);
  EXPECT_EQ(mixer.AddSound(wave), 2);
}

TEST_F(SoundTest, StopSystemReleasesTheDeviceFirst) {
  ASSERT_EQ(StartSoundSystem(), 1);
  SoundId drop = Load("Drop.wav", Ramp(10, 5, 0));
  PlaySoundId(drop, 1, -1);
  StopSoundSystem();
  EXPECT_EQ(backend.mixer, nullptr);
  EXPECT_EQ(backend.lifecycle.back(), "StopAudio");
  // Handles from before are dead; nothing is traced for them.
  size_t traces = SoundTraces().size();
  EXPECT_EQ(PlaySoundId(drop, 0, 100), 0);
  EXPECT_EQ(SoundTraces().size(), traces);
}

TEST(SoundMixer, OverallVolumeScalesTheSumBeforeClipping) {
  platform::Mixer mixer({44100, 1});
  platform::WaveData loud;
  loud.rate = 44100;
  loud.channels = 1;
  loud.bitsPerSample = 16;
  loud.samples = {0x30, 0x75, 0x30, 0x75};  // 30000, twice
  int a = mixer.AddSound(loud), b = mixer.AddSound(loud);
  mixer.Play(a, false, -1);
  mixer.Play(b, false, -1);
  // Half of 60000, not half of the clipped 32767.
  mixer.SetMasterGain(platform::Mixer::GainForAttenuation(platform::VolumeToAttenuation(50)));
  int16_t out[2] = {0, 0};
  mixer.Render(out, 1);
  EXPECT_NEAR(out[0], 30000, 100);  // the table rounds down: 0.4994
  mixer.SetMasterGain(0);
  mixer.Render(out + 1, 1);
  EXPECT_EQ(out[1], 0);
}
