// Sounds through the mixer, heard through the headless backend's render.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
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
  // Past a play's ease-in (and any cut playback's ease-out).
  void SkipFade() { backend.RenderAudio(backend.mixer->FadeFrames()); }
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
  const int fade = backend.mixer->FadeFrames();
  const std::vector<int> afterFade = {1000 + 10 * fade, 1010 + 10 * fade, 1020 + 10 * fade};
  EXPECT_EQ(Left(5), (std::vector<int>{0, 0, 0, 0, 0}));
  EXPECT_EQ(PlaySoundId(drop, 0, -1), 1);
  EXPECT_EQ(Left(1)[0], 0) << "a play eases in from silence";
  backend.RenderAudio(fade - 1);
  EXPECT_EQ(Left(3), afterFade);
  Left(200);
  // Played again while it still sounds: from the beginning, alone once the
  // cut playback has eased out.
  EXPECT_EQ(PlaySoundId(drop, 0, -1), 1);
  SkipFade();
  EXPECT_EQ(Left(3), afterFade);
  // Stopped: silence after the ease, and the next play starts at the
  // beginning too.
  StopSoundId(drop);
  SkipFade();
  EXPECT_EQ(Left(2), (std::vector<int>{0, 0}));
  PlaySoundId(drop, 0, -1);
  SkipFade();
  EXPECT_EQ(Left(1), std::vector<int>{afterFade[0]});
  EXPECT_EQ(SoundTraces(), (std::vector<std::string>{
                               "sound play \"Sound\\Drop.wav\" loop=0 vol=-1",
                               "sound play \"Sound\\Drop.wav\" loop=0 vol=-1",
                               "sound stop \"Sound\\Drop.wav\"",
                               "sound play \"Sound\\Drop.wav\" loop=0 vol=-1",
                           }));
}

// Every start and every cut is eased: a loud sine stopped, restarted and
// swapped for another at its steepest never steps by more than its own
// steepest step plus the ease's slope (a hard cut would jump 20000). A loop
// resampled across its seam runs on as smoothly as anywhere else.
TEST_F(SoundTest, NoStepAtAnyCutOrLoopSeam) {
  ASSERT_EQ(StartSoundSystem(), 1);
  const double amplitude = 20000;
  auto sine = [&](int rate, int frames, double hz) {
    std::vector<int16_t> v;
    for (int n = 0; n < frames; ++n) v.push_back(static_cast<int16_t>(std::lround(amplitude * std::sin(2 * std::numbers::pi * hz * n / rate))));
    return testwave::Wave16(static_cast<uint32_t>(rate), 1, v);
  };
  // 300 Hz: a whole number of cycles in each loop, at either rate.
  SoundId a = Load("A.wav", sine(44100, 4410, 300));
  SoundId b = Load("B.wav", sine(30000, 3000, 300));
  ASSERT_NE(a, 0);
  ASSERT_NE(b, 0);
  // An ease of at least 4 ms, one easing out while another eases in.
  const double own = amplitude * 2 * std::numbers::pi * 300 / 44100;
  const double bound = own + 2 * amplitude / (0.004 * 44100) + 2;
  std::vector<int> heard = {0};
  auto listen = [&](int frames) {
    for (int v : Left(frames)) heard.push_back(v);
  };
  PlaySoundId(a, 1, -1);
  listen(300);
  StopSoundId(a);  // mid-wave
  listen(300);
  PlaySoundId(a, 1, -1);
  listen(313);
  PlaySoundId(a, 1, -1);  // restarted while it sounds
  listen(257);
  StopSoundId(a);
  PlaySoundId(b, 1, -1);  // the other loop, resampled, over its seam many times
  listen(44100);
  StopSoundId(b);
  listen(300);
  double worst = 0;
  for (size_t i = 1; i < heard.size(); ++i) worst = std::max(worst, std::fabs(heard[i] - heard[i - 1] + 0.0));
  EXPECT_LE(worst, bound);
  EXPECT_EQ(heard.back(), 0);
  // The resampled loop keeps its level right across the seams.
  double peak = 0;
  for (size_t i = heard.size() - 44000; i < heard.size() - 400; ++i) peak = std::max(peak, std::fabs(heard[i] + 0.0));
  EXPECT_NEAR(peak, amplitude, amplitude * 0.01);
}

TEST_F(SoundTest, OnceEndsAndLoopWraps) {
  ASSERT_EQ(StartSoundSystem(), 1);
  const int fade = backend.mixer->FadeFrames();
  SoundId once = Load("Drop.wav", Ramp(fade + 4, 100, 100));
  SoundId loop = Load("Music.wav", Ramp(3, 1, 1));
  ASSERT_NE(once, 0);
  ASSERT_NE(loop, 0);
  PlaySoundId(once, 0, -1);
  SkipFade();
  const int f = 100 + 100 * fade;
  EXPECT_EQ(Left(6), (std::vector<int>{f, f + 100, f + 200, f + 300, 0, 0}));
  PlaySoundId(loop, 1, -1);
  SkipFade();
  std::vector<int> wraps;
  for (int j = 0; j < 7; ++j) wraps.push_back(1 + (fade + j) % 3);
  EXPECT_EQ(Left(7), wraps);
  // Both together add up, and the right channel matches the left.
  PlaySoundId(once, 0, -1);
  SkipFade();
  const int l0 = 1 + (2 * fade + 7) % 3, l1 = 1 + (2 * fade + 8) % 3;
  std::vector<int16_t> mix = backend.RenderAudio(2);
  EXPECT_EQ(mix, (std::vector<int16_t>{static_cast<int16_t>(f + l0), static_cast<int16_t>(f + l0),
                                       static_cast<int16_t>(f + 100 + l1), static_cast<int16_t>(f + 100 + l1)}));
  EXPECT_EQ(SoundTraces().back(), "sound play \"Sound\\Drop.wav\" loop=0 vol=-1");
  EXPECT_EQ(SoundTraces()[1], "sound play \"Sound\\Music.wav\" loop=1 vol=-1");
}

TEST_F(SoundTest, VolumeSetsGainAndMinusOneKeepsIt) {
  ASSERT_EQ(StartSoundSystem(), 1);
  SoundId music = Load("Music.wav", Ramp(100, 20000, 0));
  ASSERT_NE(music, 0);
  PlaySoundId(music, 1, 50);  // -6.03 dB
  SkipFade();
  EXPECT_NEAR(Left(1)[0], 20000 * 0.49946, 2);
  // Restarted at the same gain: the ease out and the ease in add up to it.
  PlaySoundId(music, 1, -1);
  for (int v : Left(backend.mixer->FadeFrames() + 1)) ASSERT_NEAR(v, 20000 * 0.49946, 3);
  PlaySoundId(music, 1, 0);
  SkipFade();
  EXPECT_EQ(Left(50), std::vector<int>(50, 0));
  PlaySoundId(music, 1, -7);  // below 0 is 0, not "keep"
  SkipFade();
  EXPECT_EQ(Left(1)[0], 0);
  PlaySoundId(music, 1, 250);  // above 100 is 100
  SkipFade();
  EXPECT_EQ(Left(1)[0], 20000);
  EXPECT_EQ(SoundTraces()[0], "sound play \"Sound\\Music.wav\" loop=1 vol=50");
}

TEST_F(SoundTest, LoudSoundsClipInsteadOfWrapping) {
  ASSERT_EQ(StartSoundSystem(), 1);
  SoundId a = Load("A.wav", Ramp(1000, 30000, 0));
  SoundId b = Load("B.wav", Ramp(1000, 30000, 0));
  SoundId c = Load("C.wav", Ramp(1000, -30000, 0));
  SoundId d = Load("D.wav", Ramp(1000, -30000, 0));
  PlaySoundId(a, 0, -1);
  PlaySoundId(b, 0, -1);
  SkipFade();
  EXPECT_EQ(Left(1)[0], 32767);
  StopSoundId(a);
  StopSoundId(b);
  PlaySoundId(c, 0, -1);
  PlaySoundId(d, 0, -1);
  SkipFade();
  EXPECT_EQ(Left(1)[0], -32768);
}

TEST_F(SoundTest, ConvertedToTheDeviceFormatAtLoad) {
  ASSERT_EQ(StartSoundSystem(), 1);
  // 8-bit samples are unsigned around 128; stereo stays stereo.
  Bytes frames;
  for (int i = 0; i < 400; ++i) frames.insert(frames.end(), {255, 0});
  SoundId bytes = Load("Eight.wav", testwave::Riff({testwave::Fmt(1, 2, 44100, 8), testwave::Chunk("data", frames)}));
  ASSERT_NE(bytes, 0);
  PlaySoundId(bytes, 0, -1);
  SkipFade();
  EXPECT_EQ(backend.RenderAudio(1), (std::vector<int16_t>{32512, -32768}));
}

// A sine sweep at other rates, looped a whole number of cycles, comes out of
// the 44.1 kHz device as that sine alone: what the resampler adds (images of
// the source spectrum, aliases when it comes down) stays 60 dB under it.
TEST_F(SoundTest, ResamplingImagesStayBelowMinus60Decibels) {
  ASSERT_EQ(StartSoundSystem(), 1);
  const int out = 44100;
  const struct {
    int rate;
    double hz;
  } cases[] = {{22050, 100}, {22050, 3000}, {22050, 8820}, {30000, 1000}, {30000, 7000},
               {30000, 12000}, {32000, 12800}, {48000, 17000}, {88200, 9000}};
  for (const auto& c : cases) {
    std::vector<int16_t> v;
    for (int n = 0; n < c.rate; ++n) v.push_back(static_cast<int16_t>(std::lround(16000 * std::sin(2 * std::numbers::pi * c.hz * n / c.rate))));
    SoundId id = Load("Sweep" + std::to_string(c.rate) + "_" + std::to_string(static_cast<int>(c.hz)) + ".wav",
                      testwave::Wave16(static_cast<uint32_t>(c.rate), 1, v));
    ASSERT_NE(id, 0);
    PlaySoundId(id, 1, -1);
    SkipFade();
    const std::vector<int> heard = Left(8192);
    StopSoundId(id);
    SkipFade();
    // Least-squares fit of the sine at its frequency; the rest is what the
    // resampler added.
    double ss = 0, sc = 0, cc = 0, ys = 0, yc = 0;
    for (size_t n = 0; n < heard.size(); ++n) {
      const double sn = std::sin(2 * std::numbers::pi * c.hz * n / out), cn = std::cos(2 * std::numbers::pi * c.hz * n / out);
      ss += sn * sn, sc += sn * cn, cc += cn * cn, ys += heard[n] * sn, yc += heard[n] * cn;
    }
    const double det = ss * cc - sc * sc;
    const double ka = (ys * cc - yc * sc) / det, kb = (yc * ss - ys * sc) / det;
    double signal = 0, rest = 0;
    for (size_t n = 0; n < heard.size(); ++n) {
      const double fit = ka * std::sin(2 * std::numbers::pi * c.hz * n / out) + kb * std::cos(2 * std::numbers::pi * c.hz * n / out);
      signal += fit * fit;
      rest += (heard[n] - fit) * (heard[n] - fit);
    }
    EXPECT_LT(10 * std::log10(rest / signal), -60) << c.hz << " Hz at " << c.rate;
    EXPECT_NEAR(std::sqrt(ka * ka + kb * kb), 16000, 16000 * 0.02) << c.hz << " Hz at " << c.rate << " keeps its level";
  }
}

TEST(SoundMixer, MonoDeviceFoldsStereo) {
  platform::Mixer mixer({8000, 1});
  platform::WaveData wave;
  wave.rate = 8000;
  wave.channels = 2;
  wave.bitsPerSample = 8;
  for (int i = 0; i < 100; ++i) wave.samples.insert(wave.samples.end(), {128 + 10, 128 + 30});  // 2560 and 7680
  int id = mixer.AddSound(wave);
  ASSERT_EQ(id, 1);
  mixer.Play(id, false, -1);
  std::vector<int16_t> out(static_cast<size_t>(mixer.FadeFrames()) + 101, 1);
  mixer.Render(out.data(), static_cast<int>(out.size()));
  EXPECT_EQ(out[static_cast<size_t>(mixer.FadeFrames())], 5120);
  EXPECT_EQ(out.back(), 0);
}

TEST(SoundMixer, HostileSoundsStayWithinTheMemoryBound) {
  // Six of the longest sounds, each about 48 MB once widened to 16-bit
  // stereo: what fits is kept, the rest refused before anything is
  // converted, and the total never passes the bound.
  platform::Mixer mixer({44100, 2});
  platform::WaveData wave;
  wave.rate = platform::kMinWaveRate;
  wave.channels = 1;
  wave.bitsPerSample = 8;
  wave.samples.assign(12'000'000, 128);
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
  for (int i = 0; i < 2000; ++i) loud.samples.insert(loud.samples.end(), {0x20, 0x4E});  // 20000
  int a = mixer.AddSound(loud), b = mixer.AddSound(loud);
  mixer.Play(a, false, -1);
  mixer.Play(b, false, -1);
  // Half of 40000, not half of what the sum would be once bent or clipped;
  // read after the start's ease.
  mixer.SetMasterGain(platform::Mixer::GainForAttenuation(platform::VolumeToAttenuation(50)));
  std::vector<int16_t> out(1000);
  mixer.Render(out.data(), 1000);
  EXPECT_NEAR(out[999], 20000, 100);  // the table rounds down: 0.4994
  mixer.SetMasterGain(0);
  mixer.Render(out.data(), 1);
  EXPECT_EQ(out[0], 0);
}
