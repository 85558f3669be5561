// The generated pictures and sounds, read back through the game's own
// loaders: sizes, glyph cells, jewel shapes, sprite keys, loudness, loop
// seams, and byte-identical output from two runs of the generator.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/bitmap_file.h"
#include "platform/mixer.h"
#include "platform/sound.h"
#include "platform/wave_file.h"
#include "tools/assets/generate.h"
#include "tools/assets/mathx.h"
#include "tools/assets/sequencer.h"
#include "tools/assets/sounds.h"
#include "tools/assets/synth.h"
#include "tools/assets/wave_writer.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

fs::path RunDir() { return fs::path(STAKKO_RUN_DIR); }

platform::DecodedBitmap Picture(const char* name) {
  const std::vector<uint8_t> bytes = ReadAll(RunDir() / "graphics" / name);
  std::optional<platform::DecodedBitmap> bmp = platform::DecodeBitmap(bytes.data(), bytes.size());
  if (!bmp) {
    ADD_FAILURE() << name << " does not decode";
    return {};
  }
  return *bmp;
}

uint32_t At(const platform::DecodedBitmap& b, int x, int y) {
  return b.pixels[static_cast<size_t>(y) * static_cast<size_t>(b.width) + static_cast<size_t>(x)];
}

int Luma(uint32_t p) { return (((p >> 16) & 255) * 3 + ((p >> 8) & 255) * 6 + (p & 255)) / 10; }

// A cell with every pixel row a single colour holds no drawing.
bool CellIsBlank(const platform::DecodedBitmap& b, int x0, int y0, int w, int h) {
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x)
      if (At(b, x, y) != At(b, x0, y)) return false;
  return true;
}

struct Samples {
  int rate = 0;
  int channels = 0;
  std::vector<int16_t> data;  // interleaved
  size_t frames() const { return data.size() / static_cast<size_t>(channels); }
  int16_t at(size_t frame, int ch) const { return data[frame * static_cast<size_t>(channels) + static_cast<size_t>(ch)]; }
};

Samples Sound(const char* name) {
  const std::vector<uint8_t> bytes = ReadAll(RunDir() / "Sound" / name);
  std::optional<platform::WaveData> wave = platform::ParseWaveFile(bytes.data(), bytes.size());
  Samples s;
  if (!wave) {
    ADD_FAILURE() << name << " does not load";
    return s;
  }
  EXPECT_EQ(wave->bitsPerSample, 16) << name;
  s.rate = wave->rate;
  s.channels = wave->channels;
  for (size_t i = 0; i + 1 < wave->samples.size(); i += 2)
    s.data.push_back(static_cast<int16_t>(wave->samples[i] | (wave->samples[i + 1] << 8)));
  return s;
}

constexpr const char* kLargeCharset = "#0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-._ ";
constexpr const char* kSmallCharset = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-!@#$%^&*()<>,.\\/?=+[]` ";

}  // namespace

TEST(GeneratedPictures, EveryPictureDecodesAtTheSizeTheGameCutsItAt) {
  const struct {
    const char* name;
    int width, height;
  } pictures[] = {
      {"Jewels.bmp", 224, 32},      {"explosion32.bmp", 352, 32}, {"font.bmp", 352, 128},
      {"BKF-FONT.bmp", 320, 48},    {"MainScreen.bmp", 640, 480}, {"HowTo.bmp", 640, 480},
      {"Highscore.bmp", 372, 150},  {"Game_Over.bmp", 360, 150},  {"GetReady.bmp", 226, 38},
      {"Cursor.bmp", 32, 32},       {"Icon.bmp", 64, 64},
  };
  for (const auto& p : pictures) {
    const platform::DecodedBitmap b = Picture(p.name);
    EXPECT_EQ(b.width, p.width) << p.name;
    EXPECT_EQ(b.height, p.height) << p.name;
    EXPECT_EQ(b.sourceDepth, 24) << p.name;
  }
}

TEST(GeneratedPictures, EveryNamedGlyphHoldsADrawingAndTheSpacesAreBlank) {
  const platform::DecodedBitmap large = Picture("font.bmp");
  ASSERT_EQ(large.width, 352);
  for (int n = 0; kLargeCharset[n] != 0; ++n) {
    const bool blank = CellIsBlank(large, (n % 11) * 32, (n / 11) * 32, 32, 28);
    EXPECT_EQ(blank, kLargeCharset[n] == ' ') << "large glyph '" << kLargeCharset[n] << "'";
  }
  const platform::DecodedBitmap small = Picture("BKF-FONT.bmp");
  ASSERT_EQ(small.width, 320);
  for (int n = 0; kSmallCharset[n] != 0; ++n) {
    const bool blank = CellIsBlank(small, (n % 20) * 16, (n / 20) * 16, 16, 16);
    EXPECT_EQ(blank, kSmallCharset[n] == ' ') << "small glyph '" << kSmallCharset[n] << "'";
  }
  // The name line is wiped with spaces on the white box: the small space
  // must be an even fill, and the glyphs must stand out from it.
  EXPECT_EQ(At(small, 304, 32), 0u);
}

TEST(GeneratedPictures, LargeGlyphsJoinIntoOneCaptionPlate) {
  // Captions are copied cell after cell; each cell's outer columns must
  // match the blank plate so that a word reads as one label.
  const platform::DecodedBitmap large = Picture("font.bmp");
  ASSERT_EQ(large.width, 352);
  const int spaceX = (40 % 11) * 32, spaceY = (40 / 11) * 32;
  for (int n = 0; n < 40; ++n) {
    const int x0 = (n % 11) * 32, y0 = (n / 11) * 32;
    for (int y = 0; y < 28; ++y) {
      ASSERT_EQ(At(large, x0, y0 + y), At(large, spaceX, spaceY + y)) << "glyph '" << kLargeCharset[n] << "' row " << y;
      ASSERT_EQ(At(large, x0 + 31, y0 + y), At(large, spaceX + 31, spaceY + y)) << "glyph '" << kLargeCharset[n] << "'";
    }
  }
}

namespace {

// A colour as seen with one of the common colour-vision deficiencies
// (Machado, Oliveira and Fernandes 2009, full severity, on linear RGB) or
// as lightness alone.
enum class Vision { Normal, Protan, Deutan, Tritan, Grey };

struct Lab {
  double l, a, b;
};

Lab Seen(const double linear[3], Vision v) {
  static const double kMatrices[3][3][3] = {
      {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}},
      {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}},
      {{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}},
  };
  double c[3] = {linear[0], linear[1], linear[2]};
  if (v == Vision::Grey) {
    c[0] = c[1] = c[2] = 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2];
  } else if (v != Vision::Normal) {
    const auto& m = kMatrices[static_cast<int>(v) - 1];
    for (int i = 0; i < 3; ++i) c[i] = std::clamp(m[i][0] * linear[0] + m[i][1] * linear[1] + m[i][2] * linear[2], 0.0, 1.0);
  }
  const double x = (0.4124 * c[0] + 0.3576 * c[1] + 0.1805 * c[2]) / 0.95047;
  const double y = 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2];
  const double z = (0.0193 * c[0] + 0.1192 * c[1] + 0.9505 * c[2]) / 1.08883;
  auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
  return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

}  // namespace

TEST(GeneratedPictures, EveryPairOfJewelsStaysApartForColourBlindEyesAndInGrey) {
  const platform::DecodedBitmap sheet = Picture("Jewels.bmp");
  ASSERT_EQ(sheet.width, 224);
  // The empty-well tile is dark and calm.
  int lo = 255, hi = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      lo = std::min(lo, Luma(At(sheet, x, y)));
      hi = std::max(hi, Luma(At(sheet, x, y)));
    }
  EXPECT_LT(hi, 80);
  EXPECT_LT(hi - lo, 40);
  // A jewel's silhouette is where it covers its cell's plain ground (the
  // colour of the cell's corner); its colour is the mean of those pixels in
  // linear light.
  auto linear = [](uint32_t p, int shift) {
    const double c = ((p >> shift) & 255) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  std::vector<std::vector<bool>> masks(7, std::vector<bool>(32 * 32));
  double mean[7][3] = {};
  for (int k = 1; k <= 6; ++k) {
    int covered = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const uint32_t p = At(sheet, 32 * k + x, y);
        if (p == At(sheet, 32 * k, 0)) continue;
        masks[static_cast<size_t>(k)][static_cast<size_t>(y * 32 + x)] = true;
        for (int c = 0; c < 3; ++c) mean[k][c] += linear(p, 16 - 8 * c);
        ++covered;
      }
    EXPECT_GT(covered, 32 * 32 / 3) << "jewel " << k << " is too small to see";
    for (double& c : mean[k]) c /= std::max(covered, 1);
  }
  // Two stones are told apart when their mean colours are clearly distinct
  // (CIELAB distance of 20 or more) or their outlines are (they share at
  // most 70% of their combined silhouette). Shape alone must carry the grey
  // view and whatever colour a deficiency takes away.
  const char* const kViews[] = {"normal", "protanopia", "deuteranopia", "tritanopia", "grey"};
  for (int a = 1; a <= 6; ++a)
    for (int b = a + 1; b <= 6; ++b) {
      int both = 0, either = 0;
      for (size_t i = 0; i < 32 * 32; ++i) {
        both += masks[static_cast<size_t>(a)][i] && masks[static_cast<size_t>(b)][i];
        either += masks[static_cast<size_t>(a)][i] || masks[static_cast<size_t>(b)][i];
      }
      const double overlap = static_cast<double>(both) / either;
      for (int v = 0; v < 5; ++v) {
        const Lab p = Seen(mean[a], static_cast<Vision>(v)), q = Seen(mean[b], static_cast<Vision>(v));
        const double distance = std::sqrt((p.l - q.l) * (p.l - q.l) + (p.a - q.a) * (p.a - q.a) + (p.b - q.b) * (p.b - q.b));
        EXPECT_TRUE(distance >= 20 || overlap <= 0.70)
            << "jewels " << a << " and " << b << " look alike in " << kViews[v] << ": colour distance " << distance
            << ", outline overlap " << overlap;
      }
    }
}

TEST(GeneratedPictures, ExplosionBurstsAtOnceAndBurnsOut) {
  const platform::DecodedBitmap sheet = Picture("explosion32.bmp");
  ASSERT_EQ(sheet.width, 352);
  auto count = [&](int frame, auto&& pick) {
    long n = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) n += pick(At(sheet, 32 * frame + x, y));
    return n;
  };
  auto brightness = [&](int frame) { return count(frame, [](uint32_t p) { return Luma(p); }); };
  // The first frame may be all a player sees of it: a flash filling a good
  // part of the cell, not a small disc.
  EXPECT_GT(count(0, [](uint32_t p) { return Luma(p) > 200; }), 32 * 32 / 5);
  // Then shards in the jewels' own colours: blue to violet ones show best
  // against the orange fire.
  EXPECT_GE(count(1, [](uint32_t p) { return (p & 255) > 150 && (p & 255) > ((p >> 16) & 255) + 40; }), 4);
  EXPECT_GT(brightness(1), 3 * brightness(9));
  for (int f = 0; f < 9; ++f) EXPECT_GE(brightness(f), brightness(f + 1)) << "frame " << f;
}

TEST(GeneratedPictures, SpritesKeepTheirVisiblePartsOffTheKeyColour) {
  // Sprites leave out exact black, so each must have both: a see-through
  // surround and a visible drawing.
  for (const char* name : {"Game_Over.bmp", "GetReady.bmp", "Cursor.bmp"}) {
    const platform::DecodedBitmap b = Picture(name);
    size_t keyed = 0;
    for (uint32_t p : b.pixels) keyed += p == 0;
    EXPECT_GT(keyed, b.pixels.size() / 5) << name;
    EXPECT_GT(b.pixels.size() - keyed, b.pixels.size() / 8) << name;
  }
  const platform::DecodedBitmap cursor = Picture("Cursor.bmp");
  ASSERT_EQ(cursor.width, 32);
  EXPECT_NE(At(cursor, 0, 0), 0u) << "the pointer's tip is its top-left pixel";
  EXPECT_EQ(At(cursor, 31, 0), 0u);
  EXPECT_EQ(At(cursor, 0, 31), 0u);
}

TEST(GeneratedSounds, EverySoundLoadsWithItsLengthAndStaysBelowFullScale) {
  const struct {
    const char* name;
    double minSeconds, maxSeconds;
  } sounds[] = {
      {"Stakko.wav", 30, 60},     {"Nu Battle.wav", 30, 60},   {"Explosion.wav", 0.2, 1.0},
      {"Drop.wav", 0.05, 0.3},    {"HighScore.wav", 0.5, 3.0}, {"awwww.wav", 0.5, 2.0},
  };
  std::vector<int> effectPeaks;
  int musicPeak = 0;
  for (const auto& entry : sounds) {
    const Samples s = Sound(entry.name);
    ASSERT_GT(s.channels, 0) << entry.name;
    const double seconds = static_cast<double>(s.frames()) / s.rate;
    EXPECT_GE(seconds, entry.minSeconds) << entry.name;
    EXPECT_LT(seconds, entry.maxSeconds) << entry.name;
    int peak = 0;
    double sum = 0;
    for (int16_t v : s.data) {
      peak = std::max(peak, std::abs(static_cast<int>(v)));
      sum += v;
    }
    EXPECT_LT(peak, 32000) << entry.name << " clips";
    if (seconds >= 30) musicPeak = std::max(musicPeak, peak);
    else effectPeaks.push_back(peak);
    EXPECT_GT(peak, 8000) << entry.name << " is nearly silent";
    EXPECT_LT(std::abs(sum / static_cast<double>(s.data.size())), 100.0) << entry.name << " has a DC offset";
  }
  // Music at the game's volume 50 with the two loudest effects at full
  // volume, peak on peak, still stays below full scale.
  std::sort(effectPeaks.rbegin(), effectPeaks.rend());
  ASSERT_EQ(effectPeaks.size(), 4u);
  const int64_t musicGain = platform::Mixer::GainForAttenuation(platform::VolumeToAttenuation(50));
  EXPECT_LT(((musicPeak * musicGain) >> 16) + effectPeaks[0] + effectPeaks[1], 32767);
}

TEST(GeneratedSounds, EffectsStartAndEndInSilence) {
  for (const char* name : {"Explosion.wav", "Drop.wav", "HighScore.wav", "awwww.wav"}) {
    const Samples s = Sound(name);
    ASSERT_GT(s.frames(), 100u) << name;
    for (int c = 0; c < s.channels; ++c) {
      EXPECT_LT(std::abs(s.at(0, c)), 64) << name;
      EXPECT_LT(std::abs(s.at(s.frames() - 1, c)), 64) << name;
    }
  }
}

// Share of a sound's energy left after two-pole high-pass and low-pass
// filters at the given corners (0 leaves that side open).
double ShareInBand(const Samples& s, double lowHz, double highHz) {
  auto run = [&](std::vector<double> x, double hz, bool high) {
    const double w = 2 * art::kPi * hz / s.rate, alpha = std::sin(w) / std::sqrt(2.0), c = std::cos(w);
    const double b0 = (high ? (1 + c) : (1 - c)) / 2 / (1 + alpha), b1 = (high ? -(1 + c) : (1 - c)) / (1 + alpha);
    const double a1 = -2 * c / (1 + alpha), a2 = (1 - alpha) / (1 + alpha);
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (double& v : x) {
      const double y = b0 * v + b1 * x1 + b0 * x2 - a1 * y1 - a2 * y2;
      x2 = x1, x1 = v, y2 = y1, y1 = y;
      v = y;
    }
    return x;
  };
  std::vector<double> x(s.data.begin(), s.data.end());
  double all = 0, kept = 0;
  for (double v : x) all += v * v;
  if (lowHz > 0) x = run(x, lowHz, true);
  if (highHz > 0) x = run(x, highHz, false);
  for (double v : x) kept += v * v;
  return kept / all;
}

TEST(GeneratedSounds, EffectsCarryOnSmallSpeakers) {
  // Laptop and phone speakers play little below a few hundred hertz: a good
  // part of the drop's knock lies above 400 Hz, and the explosion's body
  // between 200 Hz and 2 kHz.
  const Samples drop = Sound("Drop.wav");
  ASSERT_EQ(drop.channels, 1);
  EXPECT_GT(ShareInBand(drop, 400, 0), 0.3);
  const Samples explosion = Sound("Explosion.wav");
  EXPECT_EQ(explosion.rate, 44100);
  EXPECT_GT(ShareInBand(explosion, 200, 2000), 0.5);
  EXPECT_GT(ShareInBand(explosion, 200, 0), 0.8);
}

TEST(GeneratedSounds, EachMusicLoopRunsOnFromItsEndIntoItsStart) {
  for (const char* name : {"Stakko.wav", "Nu Battle.wav"}) {
    const Samples s = Sound(name);
    ASSERT_GT(s.frames(), 1000u) << name;
    const size_t last = s.frames() - 1;
    for (int c = 0; c < s.channels; ++c) {
      // The step across the seam is no bigger than the steps beside it.
      const int seam = std::abs(s.at(0, c) - s.at(last, c));
      const int before = std::abs(s.at(last, c) - s.at(last - 1, c));
      const int after = std::abs(s.at(1, c) - s.at(0, c));
      EXPECT_LE(seam, 2 * std::max(before, after) + 16) << name << " channel " << c;
    }
    // The tune itself is not a fade: it is loud right up to the seam.
    int nearEnd = 0;
    for (size_t i = s.frames() - s.rate / 2; i < s.frames(); ++i) nearEnd = std::max(nearEnd, std::abs(static_cast<int>(s.at(i, 0))));
    EXPECT_GT(nearEnd, 3000) << name;
  }
}

TEST(AssetGenerator, TwoRunsWriteTheSameBytes) {
  const fs::path base = fs::temp_directory_path() / ("stakko-assets-test-" + std::to_string(::getpid()));
  const fs::path a = base / "a", b = base / "b";
  std::string error;
  ASSERT_TRUE(art::GenerateAssets(a.string(), &error)) << error;
  ASSERT_TRUE(art::GenerateAssets(b.string(), &error)) << error;
  size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(a)) {
    if (!entry.is_regular_file()) continue;
    const fs::path rel = fs::relative(entry.path(), a);
    EXPECT_EQ(ReadAll(entry.path()), ReadAll(b / rel)) << rel;
    // The build's run folder came from a separate process (possibly another
    // build type): it must hold the same bytes too.
    EXPECT_EQ(ReadAll(entry.path()), ReadAll(RunDir() / rel)) << rel;
    ++files;
  }
  EXPECT_EQ(files, 17u);
  fs::remove_all(base);
}

TEST(AssetGenerator, ReportsARunFolderItCannotWrite) {
  const fs::path base = fs::temp_directory_path() / ("stakko-assets-blocked-" + std::to_string(::getpid()));
  fs::remove_all(base);
  fs::create_directories(base);
  std::ofstream(base / "graphics") << "a file where the folder should be";
  std::string error;
  EXPECT_FALSE(art::GenerateAssets(base.string(), &error));
  EXPECT_FALSE(error.empty());
  fs::remove_all(base);
}

TEST(AssetMath, OwnTranscendentalsMatchTheLibraryClosely) {
  for (double x = -40.0; x <= 40.0; x += 0.0137) {
    ASSERT_NEAR(art::Sin(x), std::sin(x), 1e-12) << x;
    ASSERT_NEAR(art::Cos(x), std::cos(x), 1e-12) << x;
  }
  for (double x = -30.0; x <= 30.0; x += 0.0091) ASSERT_NEAR(art::Exp(x) / std::exp(x), 1.0, 1e-13) << x;
  EXPECT_NEAR(art::NoteHz(69), 440.0, 1e-9);
  EXPECT_NEAR(art::NoteHz(57), 220.0, 1e-9);
  EXPECT_NEAR(art::SineCycles(0.25), 1.0, 1e-6);
  EXPECT_NEAR(art::SineCycles(-0.25), -1.0, 1e-6);
}

TEST(AssetSequencer, ReadsNotesRestsAndHolds) {
  EXPECT_EQ(art::NoteNumber("A4"), 69);
  EXPECT_EQ(art::NoteNumber("C#5"), 73);
  EXPECT_EQ(art::NoteNumber("Bb3"), 58);
  EXPECT_EQ(art::NoteNumber("H4"), -1);
  EXPECT_EQ(art::NoteNumber("C"), -1);
  const std::vector<art::NoteEvent> notes = art::ParseNotes("A4 - - . | C#5 - . - E5");
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[0].step, 0);
  EXPECT_EQ(notes[0].length, 3);
  EXPECT_EQ(notes[1].step, 4);
  EXPECT_EQ(notes[1].length, 2);  // the hold after a rest holds nothing
  EXPECT_EQ(notes[2].step, 8);
  EXPECT_EQ(art::ChordNotes("Em", 4), (std::vector<int>{64, 67, 71}));
  EXPECT_EQ(art::ChordNotes("B7", 2), (std::vector<int>{47, 51, 54, 57}));
  EXPECT_EQ(art::ChordNotes("F#m", 3), (std::vector<int>{54, 57, 61}));
  const std::vector<art::NoteEvent> hits = art::ParseHits("X . x o");
  ASSERT_EQ(hits.size(), 3u);
  EXPECT_GT(hits[0].velocity, hits[1].velocity);
  EXPECT_GT(hits[1].velocity, hits[2].velocity);
}

TEST(AssetSequencer, NotesRingingPastTheEndWrapToTheStart) {
  // One bar of four beats; a long note on the last step must sound at the
  // start of the loop, as it would when the loop repeats.
  art::Loop loop(120, 4, 16);
  loop.Add(art::ParseNotes(". . . . . . . . . . . . . . . A3"), art::Voice::Pad, 0.5, 0.0, 1, 4.0);
  const std::vector<int16_t> mixed = loop.Mixdown(0.8);
  ASSERT_EQ(mixed.size(), loop.length() * 2);
  int early = 0;
  for (size_t i = 2 * 200; i < 2 * 2000; ++i) early = std::max(early, std::abs(static_cast<int>(mixed[i])));
  EXPECT_GT(early, 1000);
  // The end runs on into the start: the step across the seam is like the
  // steps beside it.
  const size_t n = mixed.size();
  const int seam = std::abs(mixed[0] - mixed[n - 2]);
  const int beside = std::max(std::abs(mixed[n - 2] - mixed[n - 4]), std::abs(mixed[2] - mixed[0]));
  EXPECT_LE(seam, 2 * beside + 16);
}

TEST(AssetSounds, WrittenWavesReadBackThroughTheGameLoader) {
  art::Sound s;
  s.rate = 22050;
  s.channels = 2;
  s.samples = {0, 0, 1200, -1200, 32000, -32000, -7, 7};
  const std::vector<uint8_t> bytes = art::EncodeWave(s);
  std::optional<platform::WaveData> wave = platform::ParseWaveFile(bytes.data(), bytes.size());
  ASSERT_TRUE(wave.has_value());
  EXPECT_EQ(wave->rate, 22050);
  EXPECT_EQ(wave->channels, 2);
  EXPECT_EQ(wave->bitsPerSample, 16);
  ASSERT_EQ(wave->samples.size(), s.samples.size() * 2);
  for (size_t i = 0; i < s.samples.size(); ++i)
    EXPECT_EQ(static_cast<int16_t>(wave->samples[2 * i] | (wave->samples[2 * i + 1] << 8)), s.samples[i]);
}

TEST(AssetSounds, TheChecksRefuseClicksAndClipping) {
  std::string problem;
  art::Sound effect;
  effect.samples = {0, 3000, -3000, 0};
  EXPECT_TRUE(art::CheckSound(effect, &problem)) << problem;
  effect.samples = {0, 32767, 0};
  EXPECT_FALSE(art::CheckSound(effect, &problem));
  effect.samples = {2000, 100, 0};  // starts with a jump
  EXPECT_FALSE(art::CheckSound(effect, &problem));
  art::Sound loop;
  loop.channels = 2;
  loop.loops = true;
  loop.samples = {10, 10, 500, 500, 30, 30};
  EXPECT_TRUE(art::CheckSound(loop, &problem)) << problem;
  loop.samples = {10, 10, 500, 500, 3000, 30};  // left channel jumps at the seam
  EXPECT_FALSE(art::CheckSound(loop, &problem));
  loop.samples = {10, 10, 500};  // half a frame
  EXPECT_FALSE(art::CheckSound(loop, &problem));
}
